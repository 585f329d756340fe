// The installation sequence's view of the main window: the wizard's controls
// and state behind InstallView.
#pragma once

#include "app/main_window.h"
#include "engine/install_view.h"

class MainWindowInstallView : public InstallView {
public:
    explicit MainWindowInstallView(TFMain& window) : window_(window) {}

    std::wstring InstallFolderText() override;
    int WindowsChoice() override;
    bool DriverChosen() override;
    bool AlternativeBrand() override;
    std::wstring ResourceString(int entry) override;
    void ShowProgressPage() override;
    int AddLine(std::wstring_view text) override;
    void AppendToLine(int index, std::wstring_view text) override;
    void Refresh() override;
    void RepaintLog() override;
    void SetBusy(bool busy) override;
    bool AskYesNo(std::wstring_view question, YesNoCaptions captions) override;
    void ShowErrorBox(std::wstring_view text) override;
    void EnableExit() override;
    bool OfferLargeFonts() override;
    void CloseWindow() override;

private:
    HWND Log() const { return window_.Control(ID_LogList); }

    TFMain& window_;
};
