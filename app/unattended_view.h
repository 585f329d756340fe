// The installation's view in an unattended run (/S): nothing is shown.
// Progress lines and boxes go to the setup log, and every question gets
// its fixed answer there: Yes only to the driver question (the command line
// chose the driver), No to every other one, so that a question added to
// the installation later is declined without a person to ask.
#pragma once

#include <string>
#include <vector>

#include "engine/install_view.h"

class UnattendedView : public InstallView {
public:
    void ShowProgressPage() override {}
    int AddLine(std::wstring_view text) override;
    void AppendToLine(int index, std::wstring_view text) override;
    void Refresh() override {}
    void RepaintLog() override {}
    void SetBusy(bool) override {}
    // No window can refuse the session's end: the step is only logged.
    void HoldSession(std::wstring_view step) override;
    bool AskYesNo(std::wstring_view question, YesNoCaptions captions, DefaultButton byDefault) override;
    void ShowErrorBox(std::wstring_view text) override;

private:
    std::vector<std::wstring> lines_;
};
