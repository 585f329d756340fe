// The installation sequence's view of the main window: the progress page's
// list and the window's boxes behind InstallView. It knows the window only
// by its handles and the two things it asks of it.
#pragma once

#include <windows.h>

#include <functional>

#include "engine/install_view.h"

// What the view needs of the main window.
struct InstallViewWindow {
    HWND window;                                         // owns the boxes
    HWND log;                                            // the progress list
    std::function<void()> showProgressPage;              // switches to the progress page
    std::function<void(bool)> setCanClose;               // grants or refuses closing the window
    std::function<void(std::wstring_view)> holdSession;  // refuses the session's end while a step runs
};

class MainWindowInstallView : public InstallView {
public:
    explicit MainWindowInstallView(InstallViewWindow window) : window_(std::move(window)) {}

    void ShowProgressPage() override;
    int AddLine(std::wstring_view text) override;
    void AppendToLine(int index, std::wstring_view text) override;
    void Refresh() override;
    void RepaintLog() override;
    void SetBusy(bool busy) override;
    void HoldSession(std::wstring_view step) override { window_.holdSession(step); }
    bool AskYesNo(const Asking& asking) override;
    void ShowErrorBox(std::wstring_view text) override;
    ShellCopyUi ShellUi() const override { return ShellCopyUi::Shown; }

private:
    HWND Log() const { return window_.log; }

    InstallViewWindow window_;
};
