// What of an installation needs the administrator's rights, and the question
// asked when they are missing: it names only the steps that need them.
// Windows-free.
#pragma once

#include <string>

struct RightsNeeds {
    bool fonts = false;             // a package font is not installed in the system
    bool driver = false;            // the driver is chosen
    std::wstring unwritableFolder;  // the install folder (or the folder it is made in), when it cannot be written

    bool Any() const { return fonts || driver || !unwritableFolder.empty(); }
};

// The question "… не могут быть установлены без прав администратора. …
// Продолжить установку?" for needs; for the fonts and the driver together it
// is "Шрифты и драйвер устройства не могут быть установлены без прав
// администратора.\r\nЧтобы установить их, запустите программу установки от
// имени администратора.\r\nПродолжить установку?". needs.Any() must hold.
std::wstring RightsQuestionText(const RightsNeeds& needs);

// The same for the setup log, in English: "the fonts and the driver",
// "the fonts", "writing into <folder>" and so on, joined with "and".
std::wstring RightsNeedsLogText(const RightsNeeds& needs);
