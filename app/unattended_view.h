// The installation's view in an unattended run (/S): nothing is shown.
// Boxes go to the setup log (the installation logs its progress lines
// itself), and every question gets its fixed answer there: Yes only to the
// driver question (the command line chose the driver), No to every other
// one, so that a question added to the installation later is declined
// without a person to ask.
#pragma once

#include <string>

#include "engine/install_view.h"

// The answer an unattended run gives to question: Yes only to the driver's
// (asked only when /DRIVER=YES chose the driver), No to every other one.
bool UnattendedAnswer(Question question);

class UnattendedView : public InstallView {
public:
    void ShowProgressPage() override {}
    // The installation logs every line as shown; here it is only counted.
    int AddLine(std::wstring_view) override { return lines_++; }
    void AppendToLine(int, std::wstring_view) override {}
    void Refresh() override {}
    void RepaintLog() override {}
    void SetBusy(bool) override {}
    // No window can refuse the session's end: the step is only logged.
    void HoldSession(std::wstring_view step) override;
    bool AskYesNo(const Asking& asking) override;
    void ShowErrorBox(std::wstring_view text) override;
    // The shell's copy of the driver folder shows nothing either and
    // answers its own questions (replace, merge) with Yes.
    ShellCopyUi ShellUi() const override { return ShellCopyUi::None; }

private:
    int lines_ = 0;
};
