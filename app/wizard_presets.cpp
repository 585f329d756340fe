#include "app/wizard_presets.h"

#include "base/setup_log.h"

void PresetWizard(TFMain& window, const CommandLine& commandLine) {
    if (commandLine.installFolder) {
        SetWindowTextW(window.Control(ID_ePath), commandLine.installFolder->c_str());
        setup_log::Write(L"Folder field preset: " + *commandLine.installFolder);
    }
    if (commandLine.driver) {
        SendMessageW(window.Control(ID_CbDriverInstal), BM_SETCHECK,
                     *commandLine.driver ? BST_CHECKED : BST_UNCHECKED, 0);
        setup_log::Write(*commandLine.driver ? L"Driver box preset: checked" : L"Driver box preset: cleared");
    }
    if (commandLine.runtime) {
        // The list's items: 0 "Windows 7, Windows 8", 1 "Windows XP".
        const bool modern = *commandLine.runtime == RuntimeChoice::Modern;
        SendMessageW(window.Control(ID_CBWindows), CB_SETCURSEL, modern ? 0 : 1, 0);
        setup_log::Write(modern ? L"Runtime preset: Windows 7, Windows 8" : L"Runtime preset: Windows XP");
    }
}
