// BG: the paint surface that fills the main window's client area. It owns a
// 32-bit off-screen buffer (a DIB section) of its own size; painting only
// copies the buffer to the screen, so the window never flickers.
#pragma once

#include <windows.h>

#include <functional>

#include "base/bitmap.h"
#include "base/handles.h"
#include "base/window_base.h"

class TBGSurface : public WindowBase<TBGSurface> {
public:
    // Called after the buffer took a new size, with the buffer to draw into.
    using ResizeHandler = std::function<void(Bitmap& buffer)>;

    // Creates the surface as a child of parent covering its client area, at
    // the bottom of the Z order. Raises Error when it cannot be created.
    void Create(HWND parent, ResizeHandler onResize);

private:
    friend class WindowBase<TBGSurface>;
    static WindowClass Class(HINSTANCE instance);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Resize(int width, int height);
    void Paint();

    ResizeHandler onResize_;
    Bitmap buffer_;
    ScopedBitmap dib_;
    uint32_t* dibBits_ = nullptr;
};
