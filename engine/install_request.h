// What the wizard asks the installation to do, read from its pages once when
// "Начать установка" is pressed, and how the installation ended.
#pragma once

#include <string>

#include "engine/deployment_manifest.h"

// The names the desktop shortcut gets.
struct ShortcutNames {
    std::wstring target;       // the program, relative to the install folder
    std::wstring description;  // the shortcut's comment
    std::wstring name;         // the link's name on the desktop, without ".lnk"
};

struct InstallRequest {
    std::wstring installFolder;  // without surrounding blanks
    RuntimeChoice runtime = RuntimeChoice::Modern;
    bool driver = false;            // "Устанавливать драйвер" is checked
    bool alternativeBrand = false;  // the string table names the alternative brand
    ShortcutNames shortcut;
    std::wstring installerVersion;  // "1.2.3.4", for the installation record
    // The installer's own file, kept in the install folder to remove the
    // installation later, and the name and publisher of the system's list of
    // installed programs. Without a program (the tests of other steps) the
    // installation is not registered there.
    std::wstring installerProgram;
    std::wstring displayName;
    std::wstring publisher;
};

enum class InstallOutcome {
    EndedEarly,  // a failure shown on screen ended it
    Completed,   // it ran to its end with every step done
    // It ran to its end, but steps failed without ending it (a line with
    // "ОШИБКА!!!", a tree not copied whole, an update script's non-zero code);
    // each is on screen and in the setup log.
    CompletedWithFailures,
};
