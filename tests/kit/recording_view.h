// An InstallView for tests: records the progress lines, the busy state at
// each line and the window events of an installation, and answers the
// questions as told.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/install_view.h"

inline const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
inline const std::wstring kFinalQuestion = L"Установка завершена. Выйти из программы установки?";

class RecordingView : public InstallView {
public:
    // Wizard state and answers.
    std::wstring folder;
    int windows = 0;
    bool driver = true;
    bool brand = false;
    bool driverAnswer = false;
    bool answer = true;
    bool smallFonts = false;
    // The desktop shortcut's name (string-table entry 1); not the real one,
    // which the installer's own tests use.
    std::wstring linkName = L"Velmora - Холтер (engine test)";

    // What the installation did.
    std::vector<std::wstring> lines;
    std::vector<bool> busyAtLine;  // whether closing was refused when each line was added
    // "progress page", "busy", "not busy", "ask: <question>",
    // "error box: <text>", "exit enabled", "large-font page", "close".
    std::vector<std::wstring> events;
    bool busy = false;
    std::vector<YesNoCaptions> askedCaptions;  // of each question, in order

    std::wstring InstallFolderText() override { return folder; }
    int WindowsChoice() override { return windows; }
    bool DriverChosen() override { return driver; }
    bool AlternativeBrand() override { return brand; }
    std::wstring ResourceString(int entry) override;
    void ShowProgressPage() override;
    int AddLine(std::wstring_view text) override;
    void AppendToLine(int index, std::wstring_view text) override;
    void Refresh() override {}
    void RepaintLog() override {}
    void SetBusy(bool on) override;
    bool AskYesNo(std::wstring_view question, YesNoCaptions captions) override;
    void ShowErrorBox(std::wstring_view text) override;
    void EnableExit() override;
    bool OfferLargeFonts() override;
    void CloseWindow() override;
};
