// The questions an installation asks, each a value that the views and the
// unattended answers tell apart by what it asks, never by its text; the
// texts are built here, once.
#pragma once

#include <string>
#include <string_view>

#include "engine/rights_question.h"

// The captions of a question's buttons: the platform's, in the system's
// language, or "Yes" and "No" in every language, for a question whose text
// names the button to press.
enum class YesNoCaptions { Platform, English };

// The button that Enter presses: Yes, or No for a question whose Yes does
// something a hasty Enter must not (run a script of unknown origin).
enum class DefaultButton { Yes, No };

enum class Question {
    ConnectDriver,      // before the driver is installed, when it is chosen
    RunForeignScript,   // before an update script that is not the distribution's own runs
    GoOnWithoutRights,  // the preflight's, without administrator rights
    LeaveSetup,         // the wizard's last, once the installation has ended
};

// One question as it is put: what it asks, its text and its buttons.
struct Asking {
    Question question;
    std::wstring text;
    YesNoCaptions captions;
    DefaultButton byDefault;
};

// "Подключите интерфейсный блок и нажмите "Yes"?", with English captions:
// the text names the "Yes" button.
Asking ConnectDriverQuestion();
// Whether to run the script of the update package folder package, which is
// not the distribution's package of its name; No by default.
Asking RunForeignScriptQuestion(std::wstring_view package);
// Whether to go on without the rights that needs names (needs.Any() must
// hold).
Asking GoOnWithoutRightsQuestion(const RightsNeeds& needs);
// Whether to leave the setup program after the installation.
Asking LeaveSetupQuestion();
