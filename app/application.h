// The application object: the hidden window that carries the task-bar
// button with the application title, the title itself, the message boxes in
// the program's name and the default error report.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/window_base.h"

// The application title: the task bar's, the boxes', and the program's name
// in the system's list of installed programs.
inline constexpr std::wstring_view kApplicationTitle = L"Установка комплекса \"Velmora-Холтер\"";

class TApplication : public WindowBase<TApplication> {
public:
    // Creates the task-bar window and makes the default error report the
    // report of errors raised inside callbacks. Raises Error when the window
    // cannot be made.
    void Initialize(HINSTANCE instance);

    // The task-bar title, also the title of every message box.
    void SetTitle(std::wstring_view title);

    HINSTANCE Instance() const { return instance_; }

    // The window that the task-bar button brings forward; set once the main
    // window exists.
    void SetMainWindow(HWND main) { main_ = main; }

    // A standard message box owned by the main window, titled with the
    // application title. Returns the MessageBoxW answer. The box's text and
    // the answer go into the setup log.
    int ShowMessageBox(std::wstring_view text, UINT flags) const;

    // The default error report: error icon, OK, the text with "." appended
    // when its last character is above ".". The run then counts as ended by
    // an error.
    void ShowError(std::wstring_view text) const;

    // The default error report for the exception being handled, whatever its
    // type. Call only inside a catch block; it raises nothing.
    void ReportCurrentException() const noexcept;

    // Runs the message loop until the main window is gone, letting the main
    // window's dialog manager handle Tab, Enter and Esc.
    int Run();

    void Minimize() const;

private:
    HWND Owner() const;
    friend class WindowBase<TApplication>;
    static WindowClass Class(HINSTANCE instance);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    HINSTANCE instance_ = nullptr;
    HWND main_ = nullptr;
    std::wstring title_;
};

extern TApplication Application;
