#include "app/unattended_view.h"

#include "base/setup_log.h"
#include "engine/install_sequence.h"

int UnattendedView::AddLine(std::wstring_view text) {
    lines_.emplace_back(text);
    setup_log::Write(L"Progress: " + lines_.back());
    return static_cast<int>(lines_.size() - 1);
}

void UnattendedView::AppendToLine(int index, std::wstring_view text) {
    if (index < 0 || static_cast<size_t>(index) >= lines_.size()) return;
    std::wstring& line = lines_[static_cast<size_t>(index)];
    line += text;
    setup_log::Write(L"Progress: " + line);
}

void UnattendedView::HoldSession(std::wstring_view step) {
    if (!step.empty())
        setup_log::Write(L"Step (unattended: no window refuses a log-off meanwhile): " + std::wstring(step));
}

bool UnattendedView::AskYesNo(std::wstring_view question, YesNoCaptions, DefaultButton) {
    const bool yes = question == kConnectDriverQuestion;
    setup_log::Write(L"Question (unattended, not shown): " + std::wstring(question));
    setup_log::Write(yes ? L"Answer: Yes (unattended: /DRIVER=YES chose the driver)"
                         : L"Answer: No (unattended: every question but the driver's is answered No)");
    return yes;
}

void UnattendedView::ShowErrorBox(std::wstring_view text) {
    setup_log::Write(L"Error box (unattended, not shown): " + std::wstring(text));
}
