#include "tests/e2e/driver.h"

#include <stdexcept>
#include <vector>

#include "base/strings.h"
#include "base/utf8.h"

std::wstring TextOf(HWND hwnd) {
    // GetWindowTextW does not read other processes' controls.
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256];
    const int n = GetClassNameW(hwnd, name, 256);
    return std::wstring(name, static_cast<size_t>(n > 0 ? n : 0));
}

void SetText(HWND hwnd, std::wstring_view text) {
    const std::wstring value(text);
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

bool IsChecked(HWND checkBox) { return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

namespace {

struct TopSearch {
    DWORD pid;
    std::wstring_view cls;
    HWND found;
};

BOOL CALLBACK MatchTop(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == s->cls) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    std::wstring_view cls;
    const std::wstring_view* caption;  // nullptr: any
    HWND found;
};

// A control counts as visible when it and all its parents are.
BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == s->cls && (!s->caption || TextOf(hwnd) == *s->caption)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindTopWindow(DWORD pid, std::wstring_view windowClass) {
    TopSearch s{pid, windowClass, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

Wizard::Wizard(const std::wstring& exe, const std::wstring& workingFolder) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    const std::wstring folder = workingFolder.empty() ? FolderOf(exe) : workingFolder;
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        throw std::runtime_error("cannot start " + ToUtf8(exe));
    process_.reset(pi.hProcess);
    CloseHandle(pi.hThread);
    pid_ = pi.dwProcessId;
    WaitUntil([&] { return (main_ = FindTopWindow(pid_, L"TFMain")) != nullptr; }, 30s);
    if (!main_) throw std::runtime_error("the installer's main window did not appear");
}

Wizard::~Wizard() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

HWND Wizard::FindControl(std::wstring_view windowClass, std::wstring_view caption,
                         std::chrono::milliseconds timeout) const {
    ChildSearch s{windowClass, &caption, nullptr};
    WaitUntil(
        [&] {
            EnumChildWindows(main_, MatchChild, reinterpret_cast<LPARAM>(&s));
            return s.found != nullptr;
        },
        timeout);
    return s.found;
}

HWND Wizard::FindControlOfClass(std::wstring_view windowClass) const {
    ChildSearch s{windowClass, nullptr, nullptr};
    EnumChildWindows(main_, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void Wizard::Click(HWND button) const {
    if (!button) throw std::runtime_error("no such button");
    PostMessageW(button, BM_CLICK, 0, 0);
}

void Wizard::Click(std::wstring_view caption) const {
    HWND button = FindControl(L"Button", caption);
    if (!button) throw std::runtime_error("no visible button " + ToUtf8(caption));
    Click(button);
}

MessageBoxInfo Wizard::WaitForMessageBox(std::chrono::milliseconds timeout) const {
    MessageBoxInfo box;
    WaitUntil([&] { return (box.hwnd = FindTopWindow(pid_, L"#32770")) != nullptr; }, timeout);
    if (!box.hwnd) return box;
    box.title = TextOf(box.hwnd);
    if (HWND text = GetDlgItem(box.hwnd, 0xFFFF)) box.text = TextOf(text);
    return box;
}

void Wizard::Answer(const MessageBoxInfo& box, int buttonId) const {
    HWND button = GetDlgItem(box.hwnd, buttonId);
    if (!button) throw std::runtime_error("the message box has no such button");
    PostMessageW(button, BM_CLICK, 0, 0);
    WaitUntil([&] { return !IsWindow(box.hwnd); });
}

MessageWindowInfo Wizard::WaitForMessageWindow(std::chrono::milliseconds timeout) const {
    MessageWindowInfo window;
    WaitUntil([&] { return (window.hwnd = FindTopWindow(pid_, L"TFMessageform")) != nullptr; }, timeout);
    if (!window.hwnd) return window;
    window.title = TextOf(window.hwnd);
    if (HWND text = GetDlgItem(window.hwnd, 101)) window.text = TextOf(text);
    return window;
}

void Wizard::PressOk(const MessageWindowInfo& window) const {
    HWND ok = FindWindowExW(window.hwnd, nullptr, L"Button", L"OK");
    if (!ok) throw std::runtime_error("the message window has no OK button");
    PostMessageW(ok, BM_CLICK, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(window.hwnd); });
}

bool Wizard::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) const {
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.get(), exitCode);
    return true;
}
