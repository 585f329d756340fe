// Small pictures beside button captions, taken from the PNG resources of
// the program (GLYPH_OK, GLYPH_CANCEL).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "base/handles.h"

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ImageList_Destroy(h); }
};
using ScopedImageList = ScopedOwner<ImageListTraits>;

// Puts the PNG resource name (RT_RCDATA of ResInstance, with its alpha
// channel kept) left of button's caption. The returned list must outlive
// the button. Raises Error when the picture is missing or broken, or the
// list cannot be made.
ScopedImageList SetButtonGlyph(HWND button, const wchar_t* name);
