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

std::vector<std::wstring> ListLines(HWND list) {
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        line.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
        lines.push_back(line);
    }
    return lines;
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

bool IsChecked(HWND checkBox) {
    return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring Describe(HWND hwnd) {
    if (!hwnd) return L"no window";
    return ClassOf(hwnd) + L" \"" + TextOf(hwnd) + L"\"";
}

namespace {

struct TopSearch {
    DWORD pid;
    std::wstring_view cls;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchTop(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && (!s->visibleOnly || IsWindowVisible(hwnd)) && ClassOf(hwnd) == s->cls) {
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

// The window a click at point reaches: the control itself or one of its own
// children (a combo box's field) counts as the control.
bool Reaches(HWND control, POINT point, HWND* hit) {
    *hit = WindowFromPoint(point);
    return *hit == control || IsChild(control, *hit);
}

POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

[[noreturn]] void Fail(const std::wstring& what) {
    throw std::runtime_error(ToUtf8(what));
}

// Brings the window that holds control to the front, where input goes.
void BringToFront(HWND control) {
    HWND top = GetAncestor(control, GA_ROOT);
    SetForegroundWindow(top);
    if (!Wizard::WaitUntil([&] { return GetForegroundWindow() == top; }, 5s))
        Fail(L"cannot bring " + Describe(top) + L" to the front; in front: " + Describe(GetForegroundWindow()));
}

void Send(std::vector<INPUT> inputs) {
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        Fail(L"SendInput refused the events");
}

INPUT Mouse(DWORD flags, POINT at = {}) {
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (at.x * 65536 + width - 1) / width;
    in.mi.dy = (at.y * 65536 + height - 1) / height;
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return in;
}

INPUT Key(WORD vk, wchar_t unicode, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = unicode;
    in.ki.dwFlags = (unicode ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// Input for control goes only where the keyboard focus rests on it.
void ExpectFocus(HWND control) {
    BringToFront(control);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!Wizard::WaitUntil(
            [&] {
                return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info) &&
                       info.hwndFocus == control;
            },
            5s))
        Fail(L"keys meant for " + Describe(control) + L" would go to " + Describe(info.hwndFocus));
}

// The main window's panels and its drawn background hold the controls and
// lie under them by design.
bool IsContainer(HWND hwnd) {
    const std::wstring cls = ClassOf(hwnd);
    return cls == L"VhPanel" || cls == L"TBGSurface";
}

BOOL CALLBACK AddUsableControl(HWND child, LPARAM param) {
    if (IsWindowVisible(child) && IsWindowEnabled(child) && !IsContainer(child))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

}  // namespace

std::vector<std::wstring> CoveredControls(HWND top) {
    std::vector<std::wstring> covered;
    std::vector<HWND> controls;
    EnumChildWindows(top, AddUsableControl, reinterpret_cast<LPARAM>(&controls));
    for (HWND control : controls) {
        RECT r;
        GetWindowRect(control, &r);
        const POINT points[] = {CentreOf(control),
                                {r.left + 2, r.top + 2},
                                {r.right - 3, r.top + 2},
                                {r.left + 2, r.bottom - 3},
                                {r.right - 3, r.bottom - 3}};
        for (POINT p : points) {
            HWND hit = nullptr;
            if (Reaches(control, p, &hit)) continue;
            covered.push_back(Describe(control) + L" at (" + std::to_wstring(p.x) + L", " + std::to_wstring(p.y) +
                              L") lies under " + Describe(hit));
            break;
        }
    }
    return covered;
}

HWND FindTopWindow(DWORD pid, std::wstring_view windowClass) {
    TopSearch s{pid, windowClass, true, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindTopWindowEvenHidden(DWORD pid, std::wstring_view windowClass) {
    TopSearch s{pid, windowClass, false, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

Wizard::Wizard(const std::wstring& exe, const std::wstring& workingFolder, const std::wstring& arguments) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + exe + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
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

void Wizard::MouseClick(HWND control) {
    if (!control || !IsWindowVisible(control)) Fail(L"no visible window to click: " + Describe(control));
    BringToFront(control);
    const POINT centre = CentreOf(control);
    HWND hit = nullptr;
    // A window that has just been shown may still be on its way to the screen.
    if (!WaitUntil([&] { return Reaches(control, centre, &hit); }, 2s))
        Fail(L"a click at (" + std::to_wstring(centre.x) + L", " + std::to_wstring(centre.y) + L") meant for " +
             Describe(control) + L" would land on " + Describe(hit));
    // The pointer goes there first; a move can be overtaken by one the
    // display reports late, so it is repeated until the pointer is there.
    const bool there = WaitUntil(
        [&] {
            Send({Mouse(MOUSEEVENTF_MOVE, centre)});
            Sleep(20);
            POINT at;
            return GetCursorPos(&at) && at.x == centre.x && at.y == centre.y;
        },
        2s);
    if (!there) Fail(L"the mouse pointer does not get to " + Describe(control));
    Send({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, centre),
          Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, centre)});
}

void Wizard::MouseClick(std::wstring_view caption) const {
    HWND button = FindControl(L"Button", caption);
    if (!button) Fail(L"no visible button " + std::wstring(caption));
    MouseClick(button);
}

void Wizard::PressKey(HWND control, WORD key, bool shift) {
    ExpectFocus(control);
    std::vector<INPUT> keys;
    if (shift) keys.push_back(Key(VK_SHIFT, 0, false));
    keys.push_back(Key(key, 0, false));
    keys.push_back(Key(key, 0, true));
    if (shift) keys.push_back(Key(VK_SHIFT, 0, true));
    Send(keys);
}

void Wizard::TypeText(HWND control, std::wstring_view text) {
    ExpectFocus(control);
    std::vector<INPUT> keys;
    for (wchar_t c : text) {
        keys.push_back(Key(0, c, false));
        keys.push_back(Key(0, c, true));
    }
    Send(keys);
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

void Wizard::AnswerWithMouse(const MessageBoxInfo& box, int buttonId) const {
    HWND button = GetDlgItem(box.hwnd, buttonId);
    if (!button) throw std::runtime_error("the message box has no such button");
    MouseClick(button);
    if (!WaitUntil([&] { return !IsWindow(box.hwnd); }))
        Fail(L"the box stayed after a click on " + Describe(button));
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

void Wizard::PressOkWithMouse(const MessageWindowInfo& window) const {
    HWND ok = FindWindowExW(window.hwnd, nullptr, L"Button", L"OK");
    if (!ok) throw std::runtime_error("the message window has no OK button");
    MouseClick(ok);
    if (!WaitUntil([&] { return !IsWindowVisible(window.hwnd); }))
        Fail(L"the message window stayed after a click on its OK");
}

bool Wizard::Settle(std::chrono::milliseconds timeout) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &result) !=
           0;
}

InstallerHook::InstallerHook(const Wizard& w, int kind, const std::wstring& dllPath, const char* procedure)
    : library_(LoadLibraryW(dllPath.c_str())) {
    if (!library_) return;
    const auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library_.get(), procedure)));
    if (proc)
        hook_.reset(SetWindowsHookExW(kind, proc, library_.get(), GetWindowThreadProcessId(w.Main(), nullptr)));
}

bool Wizard::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) const {
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.get(), exitCode);
    return true;
}
