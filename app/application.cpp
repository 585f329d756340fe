#include "app/application.h"

#include "app/error_report.h"
#include "app/run_log.h"
#include "base/setup_log.h"

TApplication Application;

namespace {

const wchar_t* BoxKind(UINT flags) {
    switch (flags & MB_ICONMASK) {
        case MB_ICONERROR:
            return L"error";
        case MB_ICONWARNING:
            return L"warning";
        case MB_ICONQUESTION:
            return L"question";
        case MB_ICONINFORMATION:
            return L"information";
        default:
            return L"message";
    }
}

const wchar_t* AnswerText(int answer) {
    switch (answer) {
        case IDOK:
            return L"OK";
        case IDYES:
            return L"Yes";
        case IDNO:
            return L"No";
        case IDCANCEL:
            return L"Cancel";
        case 0:
            return L"none (the box could not be shown)";
        default:
            return L"other";
    }
}

// A message box whose text and answer go into the setup log under label.
int LoggedBox(HWND owner, const std::wstring& title, std::wstring_view label, std::wstring_view text, UINT flags) {
    const std::wstring body(text);
    setup_log::Write(std::wstring(label) + L": " + body);
    const int answer = MessageBoxW(owner, body.c_str(), title.c_str(), flags);
    setup_log::Write(std::wstring(L"Answer: ") + AnswerText(answer));
    return answer;
}
}  // namespace

WindowClass TApplication::Class(HINSTANCE instance) {
    return {.name = L"TApplication", .icon = LoadIconW(instance, MAKEINTRESOURCEW(1))};
}

void TApplication::Initialize(HINSTANCE instance) {
    instance_ = instance;
    SetCallbackErrorReport([]() noexcept { Application.ReportCurrentException(); });
    // A zero-sized, visible popup: it owns the task-bar button, while the
    // main window (owned by it) keeps its own caption.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    CreateAttached(instance,
                   {.title = title_.c_str(),
                    .style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                    .x = x,
                    .y = y},
                   L"the application window");
}

void TApplication::SetTitle(std::wstring_view title) {
    title_ = title;
    if (hwnd_) SetWindowTextW(hwnd_, title_.c_str());
}

// An error that unwound the entry has already destroyed the windows: the
// report then stands on its own.
HWND TApplication::Owner() const {
    if (main_ && IsWindow(main_)) return main_;
    return hwnd_ && IsWindow(hwnd_) ? hwnd_ : nullptr;
}

int TApplication::ShowMessageBox(std::wstring_view text, UINT flags) const {
    return LoggedBox(Owner(), title_, std::wstring(L"Message box (") + BoxKind(flags) + L")", text, flags);
}

void TApplication::ShowError(std::wstring_view text) const {
    run_log::Note(run_log::Outcome::Error);
    LoggedBox(Owner(), title_, L"Error report", ErrorReportText(text), MB_OK | MB_ICONERROR);
}

void TApplication::ReportCurrentException() const noexcept {
    try {
        ShowError(CurrentExceptionText());
    } catch (...) {
        // Out of memory even for the report: the message box's own text.
        MessageBoxW(Owner(), L"Out of memory", nullptr, MB_OK | MB_ICONERROR);
    }
}

void TApplication::Minimize() const {
    ShowWindow(hwnd_, SW_MINIMIZE);
}

int TApplication::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (main_ && IsWindow(main_) && IsDialogMessageW(main_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            // The task-bar button activates this window: pass activation on
            // to the window the user last worked in (main window or a box);
            // when it is shown at start-up, before any of them was active,
            // to the main window, so the keyboard works from the first key.
            if (LOWORD(wp) != WA_INACTIVE) {
                HWND popup = GetLastActivePopup(hwnd_);
                if (!popup || popup == hwnd_) popup = main_;
                if (popup && popup != hwnd_ && IsWindowEnabled(popup)) SetActiveWindow(popup);
                return 0;
            }
            break;
        case WM_CLOSE:
            // "Close window" on the task-bar button asks the main window,
            // whose close guard decides.
            if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}
