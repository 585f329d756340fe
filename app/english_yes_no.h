// "Yes" and "No" on a standard message box whatever the system's language.
// The driver question tells the user to press "Yes", so its box must show a
// button with that word; every other box keeps the platform's captions.
#pragma once

#include "base/handles.h"

// While it lives, the first standard message box that the calling thread
// opens shows "Yes" and "No" on its Yes and No buttons (with the usual
// Alt+Y / Alt+N keys). Everything else stays the platform's: icon, title,
// layout, Enter and Esc, owner and modality. Create it right before the
// MessageBoxW call, on the same thread; without a hook (it cannot be set)
// the box keeps its own captions.
class ScopedEnglishYesNo {
public:
    ScopedEnglishYesNo();
    ~ScopedEnglishYesNo();
    ScopedEnglishYesNo(const ScopedEnglishYesNo&) = delete;
    ScopedEnglishYesNo& operator=(const ScopedEnglishYesNo&) = delete;

private:
    ScopedHook hook_;
};
