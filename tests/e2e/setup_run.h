// The installer started from a second process as a deployment tool starts
// it, watched from its first instruction for every window it shows, and the
// helpers to read what its runs wrote.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "tests/e2e/driver.h"

using namespace std::chrono_literals;

// Every window of one process that a person could see, made while this
// object lives, seen by an out-of-context WinEvent hook as it happens: a
// box shown and hidden again between two looks at the screen is still
// seen. Windows raises EVENT_OBJECT_SHOW for each window shown; Wine 8
// raises no show events, only EVENT_OBJECT_CREATE, so every top-level
// window created counts too (an unattended run creates none: its only
// window is the apartment's message-only one). Child and message-only
// windows are left out; a window gone before its event is read cannot be
// told apart and counts. The events arrive while the hooking thread takes
// its messages (Pump).
class ShownWindows {
public:
    explicit ShownWindows(DWORD pid)
        : hook_(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnEvent, pid, 0,
                                WINEVENT_OUTOFCONTEXT)) {
        if (!hook_) throw std::runtime_error("SetWinEventHook failed");
        watches_[hook_] = this;
    }
    ~ShownWindows() {
        UnhookWinEvent(hook_);
        watches_.erase(hook_);
    }
    ShownWindows(const ShownWindows&) = delete;
    ShownWindows& operator=(const ShownWindows&) = delete;

    // Delivers the events that wait for this thread.
    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    const std::vector<std::wstring>& Seen() const { return seen_; }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                                 DWORD) {
        if (object != OBJID_WINDOW || child != CHILDID_SELF || !hwnd) return;
        const auto watch = watches_.find(hook);
        if (watch == watches_.end()) return;
        const bool shown = event == EVENT_OBJECT_SHOW;
        if (event != EVENT_OBJECT_CREATE && !shown) return;
        if (!IsWindow(hwnd)) {
            watch->second->seen_.push_back(L"a window gone before its event was read");
            return;
        }
        if (!shown && GetAncestor(hwnd, GA_PARENT) != GetDesktopWindow()) return;
        watch->second->seen_.push_back((shown ? L"shown: " : L"created: ") + Describe(hwnd));
    }

    static inline std::map<HWINEVENTHOOK, ShownWindows*> watches_;
    HWINEVENTHOOK hook_;
    std::vector<std::wstring> seen_;
};

// The installer started with arguments in its own folder, watched from its
// first instruction until it ends. beforeStart runs while its process
// exists but has not started (with its process id).
class SetupRun {
public:
    SetupRun(const std::wstring& exe, const std::wstring& arguments,
             const std::function<void(DWORD pid)>& beforeStart = {}) {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + exe + L"\" " + arguments;
        const std::wstring folder = FolderOf(exe);
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                            folder.c_str(), &si, &pi))
            throw std::runtime_error("cannot start " + ToUtf8(command));
        process_.reset(pi.hProcess);
        const ScopedHandle thread(pi.hThread);
        pid_ = pi.dwProcessId;
        shown_ = std::make_unique<ShownWindows>(pid_);
        if (beforeStart) beforeStart(pid_);
        ResumeThread(thread.get());
    }
    ~SetupRun() {
        if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 99);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;

    DWORD ProcessId() const { return pid_; }

    // The exit code; the run is ended with 99 after timeout.
    DWORD WaitForExit(std::chrono::milliseconds timeout = 180s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        HANDLE process = process_.get();
        for (;;) {
            ShownWindows::Pump();
            const DWORD waited = MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT);
            if (waited == WAIT_OBJECT_0) break;
            if (std::chrono::steady_clock::now() > end) {
                TerminateProcess(process, 99);
                WaitForSingleObject(process, 5000);
                break;
            }
        }
        ShownWindows::Pump();
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        return code;
    }
    // Every window it showed so far (pumped by WaitForExit).
    const std::vector<std::wstring>& WindowsShown() const { return shown_->Seen(); }

private:
    ScopedHandle process_;
    DWORD pid_ = 0;
    std::unique_ptr<ShownWindows> shown_;
};

inline std::string Show(const std::vector<std::wstring>& texts) {
    std::string text;
    for (const std::wstring& line : texts) text += ToUtf8(line) + "\n";
    return text;
}

inline std::wstring TempFolderPath() {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

inline bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The first of expected (each the start of an event) that events do not
// hold in that order; empty when they hold them all.
inline std::wstring FirstMissingInOrder(const std::vector<std::wstring>& events,
                                        const std::vector<std::wstring>& expected) {
    auto next = events.begin();
    for (const std::wstring& prefix : expected) {
        next = std::find_if(next, events.end(), [&](const std::wstring& e) { return StartsWith(e, prefix); });
        if (next == events.end()) return prefix;
        ++next;
    }
    return L"";
}

// A folder as a switch value: quoted, without the trailing "\" that would
// escape the closing quote.
inline std::wstring FolderSwitch(const std::wstring& folder) {
    return L"\"/D=" + folder.substr(0, folder.size() - 1) + L"\"";
}

// Where a row's runs happen.
struct Place {
    std::wstring exe;      // the installer in the distribution folder
    std::wstring package;  // the distribution folder, with its "\"
    std::wstring install;  // the install folder, with its "\"
    std::wstring log;      // the /LOG= file of the usual switches
};

// /S into the install folder with its log named, then more.
inline std::wstring Unattended(const Place& at, const std::wstring& more = L"") {
    return L"/S " + FolderSwitch(at.install) + L" \"/LOG=" + at.log + L"\" " + more;
}
