#include "app/bg_surface.h"

#include <cstring>

WindowClass TBGSurface::Class(HINSTANCE) {
    return {.name = L"TBGSurface", .cursor = LoadCursorW(nullptr, IDC_ARROW)};
}

void TBGSurface::Create(HWND parent, ResizeHandler onResize) {
    onResize_ = std::move(onResize);
    RECT r;
    GetClientRect(parent, &r);
    CreateAttached(
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
        {.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, .width = r.right, .height = r.bottom, .parent = parent},
        L"a window");
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TBGSurface::Resize(int width, int height) {
    if (width == buffer_.width && height == buffer_.height) return;
    buffer_ = Bitmap(width, height);
    // Compose into memory first; the screen sees only the finished picture.
    if (onResize_) onResize_(buffer_);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down, like Bitmap
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    dibBits_ = static_cast<uint32_t*>(bits);
    if (dibBits_ && !buffer_.pixels.empty())
        std::memcpy(dibBits_, buffer_.pixels.data(), buffer_.pixels.size() * sizeof(uint32_t));
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void TBGSurface::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (dib_) {
        ScopedMemoryDc memory(CreateCompatibleDC(dc));
        ScopedSelect select(memory.get(), dib_.get());
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), r.left, r.top, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
}

LRESULT TBGSurface::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            Resize(LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}
