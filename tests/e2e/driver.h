// Drives the real installer from a second Windows process: starts it, finds
// its windows and controls by class and caption, clicks, types, answers its
// message boxes and waits for it to end.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "base/handles.h"

using namespace std::chrono_literals;

// A standard message box of the installer.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;
};

// The installer's own timed message window (class TFMessageform).
struct MessageWindowInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;  // its message, line breaks as CR LF
};

class Wizard {
public:
    // Starts exe (a full path) with arguments, its folder as the working
    // folder, or the given one, and waits until the main window is visible.
    explicit Wizard(const std::wstring& exe, const std::wstring& workingFolder = L"",
                    const std::wstring& arguments = L"");
    // Ends the process if the test left it running.
    ~Wizard();

    HWND Main() const { return main_; }
    DWORD ProcessId() const { return pid_; }

    // The visible control of that window class whose text is caption, or
    // nullptr after the timeout.
    HWND FindControl(std::wstring_view windowClass, std::wstring_view caption,
                     std::chrono::milliseconds timeout = 15s) const;
    // The visible control of that class (the first in Z order); nullptr when none.
    HWND FindControlOfClass(std::wstring_view windowClass) const;

    // Clicks a button without waiting for what its handler does (it may open
    // a modal box). A message to the button: it reaches a button that a
    // person could not click, so it only serves to get somewhere.
    void Click(HWND button) const;
    void Click(std::wstring_view caption) const;

    // Real input, as a person gives it: the control's window is brought to
    // the front, and the events go through the system's input queue.
    // MouseClick presses and releases the left button at the control's
    // centre, in screen coordinates, without waiting for what follows.
    // Throws std::runtime_error naming both windows when another window lies
    // at that point, and when the window does not come to the front.
    static void MouseClick(HWND control);
    // The visible button of the main window with that caption, clicked with the mouse.
    void MouseClick(std::wstring_view caption) const;
    // Presses and releases key (a virtual-key code), with Shift held when
    // shift is set, in control, which must have the keyboard focus.
    static void PressKey(HWND control, WORD key, bool shift = false);
    // Types text into control, which must have the keyboard focus, one
    // character event per character.
    static void TypeText(HWND control, std::wstring_view text);

    // Waits for a standard message box (#32770) of the installer.
    MessageBoxInfo WaitForMessageBox(std::chrono::milliseconds timeout = 20s) const;
    // Presses the box's button with that id (IDOK, IDYES, IDNO) and waits
    // until the box is gone.
    void Answer(const MessageBoxInfo& box, int buttonId) const;
    // The same with a mouse click on the button.
    void AnswerWithMouse(const MessageBoxInfo& box, int buttonId) const;

    // Waits for the installer's timed message window.
    MessageWindowInfo WaitForMessageWindow(std::chrono::milliseconds timeout = 20s) const;
    // Presses the window's "OK" and waits until the window is gone; the
    // mouse variant clicks it.
    void PressOk(const MessageWindowInfo& window) const;
    void PressOkWithMouse(const MessageWindowInfo& window) const;

    // Returns once the installer's window thread has answered a message of
    // ours, so it is back in a message loop and done with what it was
    // doing; false when it does not answer within timeout.
    bool Settle(std::chrono::milliseconds timeout = 10s) const;

    // True when the process ended within timeout; exitCode then holds its code.
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode = nullptr) const;

    // Waits until pred() holds, pumping nothing; false after timeout.
    template <typename Pred>
    static bool WaitUntil(Pred pred, std::chrono::milliseconds timeout = 15s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!pred()) {
            if (std::chrono::steady_clock::now() > end) return false;
            Sleep(20);
        }
        return true;
    }

private:
    ScopedHandle process_;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

// A hook procedure of one of the test DLLs built beside the tests (their
// folder is VH_BUILD_DIR), set on the installer's window thread for as long
// as the object lives; kind is WH_CALLWNDPROC, WH_GETMESSAGE and the like.
class InstallerHook {
public:
    InstallerHook(const Wizard& w, int kind, const std::wstring& dllPath, const char* procedure);
    bool installed() const { return static_cast<bool>(hook_); }

private:
    ScopedModule library_;
    ScopedHook hook_;
};

// Window helpers that work across processes.
std::wstring TextOf(HWND hwnd);
// The lines of a list box, in order.
std::vector<std::wstring> ListLines(HWND list);
std::wstring ClassOf(HWND hwnd);
void SetText(HWND hwnd, std::wstring_view text);
bool IsChecked(HWND checkBox);
// Class and text of a window, for messages: Button "Далее".
std::wstring Describe(HWND hwnd);
// The enabled, visible controls of a window (its panels left out) that a
// mouse cannot reach everywhere: another window lies over their centre or
// one of their corners. One line for each, naming both windows; empty when
// every control is free.
std::vector<std::wstring> CoveredControls(HWND top);
// A top-level visible window of process pid with that class, or nullptr.
HWND FindTopWindow(DWORD pid, std::wstring_view windowClass);
// The same, shown or hidden.
HWND FindTopWindowEvenHidden(DWORD pid, std::wstring_view windowClass);
