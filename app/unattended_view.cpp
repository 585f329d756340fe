#include "app/unattended_view.h"

#include "base/setup_log.h"

namespace {

// Each question's answer, and why, as the setup log gives it.
struct Answer {
    Question question;
    bool yes;
    std::wstring_view why;
};

constexpr std::wstring_view kOthersNo = L"unattended: every question but the driver's is answered No";

constexpr Answer kAnswers[] = {
    {Question::ConnectDriver, true, L"unattended: /DRIVER=YES chose the driver"},
    {Question::RunForeignScript, false, kOthersNo},
    {Question::GoOnWithoutRights, false, kOthersNo},
    {Question::LeaveSetup, false, kOthersNo},
};

const Answer& AnswerTo(Question question) {
    for (const Answer& answer : kAnswers)
        if (answer.question == question) return answer;
    // A question added later without its row is declined.
    static constexpr Answer kNo{Question::LeaveSetup, false, kOthersNo};
    return kNo;
}

}  // namespace

bool UnattendedAnswer(Question question) {
    return AnswerTo(question).yes;
}

void UnattendedView::HoldSession(std::wstring_view step) {
    if (!step.empty())
        setup_log::Write(L"Step (unattended: no window refuses a log-off meanwhile): " + std::wstring(step));
}

bool UnattendedView::AskYesNo(const Asking& asking) {
    const Answer& answer = AnswerTo(asking.question);
    setup_log::Write(L"Question (unattended, not shown): " + asking.text);
    setup_log::Write(std::wstring(answer.yes ? L"Answer: Yes (" : L"Answer: No (") + std::wstring(answer.why) +
                     L")");
    return answer.yes;
}

void UnattendedView::ShowErrorBox(std::wstring_view text) {
    setup_log::Write(L"Error box (unattended, not shown): " + std::wstring(text));
}
