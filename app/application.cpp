#include "app/application.h"

#include "app/error_report.h"
#include "base/error.h"
#include "base/system_error.h"

TApplication Application;

namespace {
constexpr wchar_t kClassName[] = L"TApplication";
}

void TApplication::Initialize(HINSTANCE instance) {
    instance_ = instance;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = wc.hIcon;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    // A zero-sized, visible popup: it owns the task-bar button, while the
    // main window (owned by it) keeps its own caption.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExW(0, kClassName, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0,
                              0, nullptr, nullptr, instance, nullptr);
    if (!handle_) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot create the application window. " + SystemErrorText(code));
    }
}

void TApplication::SetTitle(std::wstring_view title) {
    title_ = title;
    if (handle_) SetWindowTextW(handle_, title_.c_str());
}

int TApplication::ShowMessageBox(std::wstring_view text, UINT flags) const {
    const std::wstring body(text);
    return MessageBoxW(main_ ? main_ : handle_, body.c_str(), title_.c_str(), flags);
}

void TApplication::ShowError(std::wstring_view text) const {
    ShowMessageBox(ErrorReportText(text), MB_OK | MB_ICONERROR);
}

void TApplication::Minimize() const { ShowWindow(handle_, SW_MINIMIZE); }

int TApplication::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (main_ && IsWindow(main_) && IsDialogMessageW(main_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            // The task-bar button activates this window: pass activation on
            // to the window the user last worked in (main window or a box).
            if (LOWORD(wp) != WA_INACTIVE) {
                const HWND popup = GetLastActivePopup(hwnd);
                if (popup && popup != hwnd && IsWindowEnabled(popup)) SetActiveWindow(popup);
                return 0;
            }
            break;
        case WM_CLOSE:
            // "Close window" on the task-bar button asks the main window,
            // whose close guard decides.
            if (Application.main_) PostMessageW(Application.main_, WM_CLOSE, 0, 0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
