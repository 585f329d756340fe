#include "app/bg_surface.h"

#include <cstring>

#include "app/application.h"
#include "base/error.h"
#include "base/system_error.h"

namespace {
constexpr wchar_t kClassName[] = L"TBGSurface";
}

void TBGSurface::RegisterClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}

void TBGSurface::Create(HWND parent, ResizeHandler onResize) {
    onResize_ = std::move(onResize);
    RECT r;
    GetClientRect(parent, &r);
    hwnd_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, r.right, r.bottom,
                            parent, nullptr,
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), this);
    if (!hwnd_) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot create a window. " + SystemErrorText(code));
    }
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

LRESULT CALLBACK TBGSurface::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) try {
    auto* self = reinterpret_cast<TBGSurface*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_NCCREATE: {
            self = static_cast<TBGSurface*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            break;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        case WM_SIZE:
            if (self) self->Resize(LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (self) {
                self->Paint();
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
} catch (...) {
    // Errors never cross the window procedure.
    Application.ReportCurrentException();
    return 0;
}
