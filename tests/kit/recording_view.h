// An InstallView for tests: records the progress lines, the busy state at
// each line and the window events of an installation, and answers the
// questions as told; and the request and the run that go with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/install_sequence.h"

inline const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
// The last line of a run that reached the installation record, before its
// outcome.
inline constexpr std::wstring_view kCheckLine = L"Проверка установленных файлов....";

class RecordingView : public InstallView {
public:
    // Answers.
    bool driverAnswer = false;
    bool answer = true;

    // What the installation did.
    std::vector<std::wstring> lines;
    std::vector<bool> busyAtLine;  // whether closing was refused when each line was added
    // "progress page", "busy", "not busy", "ask: <question>",
    // "error box: <text>", and "completed" when RunRecorded saw the
    // installation run to its end, where the window takes over.
    std::vector<std::wstring> events;
    bool busy = false;
    // Each step the session was held for, in order; "" where it was let go.
    std::vector<std::wstring> sessionSteps;
    std::vector<YesNoCaptions> askedCaptions;  // of each question, in order
    std::vector<DefaultButton> askedDefaults;  // of each question, in order
    std::optional<InstallOutcome> outcome;     // set by RunRecorded when no error left the run

    void ShowProgressPage() override;
    int AddLine(std::wstring_view text) override;
    void AppendToLine(int index, std::wstring_view text) override;
    void Refresh() override {}
    void RepaintLog() override {}
    void SetBusy(bool on) override;
    void HoldSession(std::wstring_view step) override { sessionSteps.emplace_back(step); }
    bool AskYesNo(const Asking& asking) override;
    void ShowErrorBox(std::wstring_view text) override;
    ShellCopyUi ShellUi() const override { return ShellCopyUi::Shown; }
};

// A request for folder (taken in the program's form, without a trailing
// "\\", as the session takes the folder field) with the driver chosen and a desktop shortcut named
// linkName (not the real name, which the installer's own tests use) for the
// package's "Shell.exe".
InstallRequest TestRequest(const std::wstring& folder, const std::wstring& linkName);

// Runs the installation from installerFolder (with or without its trailing
// "\\") into view as both front ends do, the installation record kept; "completed" ends the events when it ran to
// its end.
void RunRecorded(RecordingView& view, const InstallRequest& request, std::wstring_view installerFolder,
                 FileCopy copy = CopyFileWithDate);
