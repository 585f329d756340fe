// The standard box (#32770) this test process shows, found from another of
// its threads.
#pragma once

#include <windows.h>

#include <cwchar>

namespace own_box_detail {
inline BOOL CALLBACK Match(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t windowClass[16] = {};
    GetClassNameW(window, windowClass, 16);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || wcscmp(windowClass, L"#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
}  // namespace own_box_detail

// A visible #32770 window of this process, or nullptr.
inline HWND FindOwnVisibleBox() {
    HWND box = nullptr;
    EnumWindows(own_box_detail::Match, reinterpret_cast<LPARAM>(&box));
    return box;
}
