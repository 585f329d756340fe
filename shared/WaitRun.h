// The launch-progress window: a small stay-on-top window without close box
// that shows a title chosen by a message-type code, one line of text and a
// bar of 25 steps, while a long step of a program of the package runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/handles.h"
#include "base/window_base.h"

class TFWaitRun : public WindowBase<TFWaitRun> {
public:
    // Creates the window hidden: bar at 0, the title for typemessage 0,
    // centred on the monitor that myScreen selected (which must exist).
    // Raises Error when the window cannot be made.
    TFWaitRun();
    // Yields the processor once and destroys the window.
    ~TFWaitRun();

    // Selects the title; it takes effect when the window is next shown.
    uint8_t typemessage = 0;

    // Shows the window with the title for the current typemessage.
    void Show();
    void Hide();

    // Advances the bar one step (after the 25th it starts over), shows msg
    // and lets the window repaint. value has no effect. Never raises: a
    // failure yields the processor instead.
    void Next(int value, std::wstring_view msg) noexcept;

private:
    friend class WindowBase<TFWaitRun>;
    static WindowClass Class(HINSTANCE instance);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

    ScopedFont font_;
    HWND ProgressBar = nullptr;
    HWND LblProgress = nullptr;
    int position_ = 0;
};

// The program's launch-progress window; created hidden at start-up, released
// at exit.
extern TFWaitRun* FWaitRun;
