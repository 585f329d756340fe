// The installation sequence's view of the main window: the progress page's
// list and the window's boxes behind InstallView.
#pragma once

#include "app/main_window.h"
#include "engine/install_view.h"

class MainWindowInstallView : public InstallView {
public:
    explicit MainWindowInstallView(TFMain& window) : window_(window) {}

    void ShowProgressPage() override;
    int AddLine(std::wstring_view text) override;
    void AppendToLine(int index, std::wstring_view text) override;
    void Refresh() override;
    void RepaintLog() override;
    void SetBusy(bool busy) override;
    void HoldSession(std::wstring_view step) override { window_.HoldSession(step); }
    bool AskYesNo(std::wstring_view question, YesNoCaptions captions) override;
    void ShowErrorBox(std::wstring_view text) override;

private:
    HWND Log() const { return window_.Control(ID_LogList); }

    TFMain& window_;
};
