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

// What becomes of a database the install folder already holds.
enum class DatabaseChoice {
    Replace,       // the package's takes its place; the clinic's is kept under a dated backup name
    KeepExisting,  // it stays as it is; the package's is copied only where there is none
};

struct InstallRequest {
    std::wstring installFolder;  // without surrounding blanks
    RuntimeChoice runtime = RuntimeChoice::Modern;
    DatabaseChoice database = DatabaseChoice::Replace;
    bool driver = false;            // "Устанавливать драйвер" is checked
    bool alternativeBrand = false;  // the string table names the alternative brand
    ShortcutNames shortcut;
    bool allUsersDesktop = false;   // the shortcut goes on the desktop every user sees, not the running user's
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
    // It ran to its end with every step done, and what it installed (the
    // driver) works only after Windows restarts; the screen and the setup
    // log say so, nothing restarts Windows.
    CompletedRestartNeeded,
};
