#include "base/window_base.h"

#include <string>

#include "base/error.h"
#include "base/system_error.h"

void RegisterWindowClassOnce(HINSTANCE instance, const WindowClass& cls, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, cls.name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = cls.icon;
    wc.hIconSm = cls.icon;
    wc.hCursor = cls.cursor;
    wc.hbrBackground = cls.background;
    wc.lpszClassName = cls.name;
    if (RegisterClassExW(&wc)) return;
    const DWORD code = GetLastError();
    if (code == ERROR_CLASS_ALREADY_EXISTS) return;
    throw Error(L"Cannot register the window class \"" + std::wstring(cls.name) + L"\". " + SystemErrorText(code));
}

HWND CreateWindowOrRaise(HINSTANCE instance, const wchar_t* className, const WindowShape& shape, void* param,
                         std::wstring_view what) {
    HWND hwnd = CreateWindowExW(shape.exStyle, className, shape.title, shape.style, shape.x, shape.y, shape.width,
                                shape.height, shape.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(shape.id)), instance, param);
    if (!hwnd) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot create " + std::wstring(what) + L". " + SystemErrorText(code));
    }
    return hwnd;
}

HWND CreateChildControl(const wchar_t* className, WindowShape shape, HFONT font, std::wstring_view what) {
    shape.style |= WS_CHILD | WS_VISIBLE;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(shape.parent, GWLP_HINSTANCE));
    HWND child = CreateWindowOrRaise(instance, className, shape, nullptr, what);
    if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

HINSTANCE ProgramModule() {
    return GetModuleHandleW(nullptr);
}
