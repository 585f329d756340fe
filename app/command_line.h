// The setup's command line, for deployment tools that install on many PCs
// at once. Started without arguments the setup is the wizard, as always.
// Switches start with "/" or "-", their names and fixed values compare
// without regard to case, and the parse is strict: an unknown switch, a
// switch given twice or a malformed value is an error, never ignored.
// Windows-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "engine/deployment_manifest.h"

struct CommandLine {
    // /S: no pages, no boxes; the setup log is the only report. Also set by
    // another installer family's silent switch (/VERYSILENT, /SILENT,
    // /SUPPRESSMSGBOXES, /qn, /quiet, /passive), which is refused.
    bool unattended = false;
    bool help = false;                          // /?: the switches and exit codes, in a box or (/S) the log
    bool uninstall = false;                     // /UNINSTALL: remove the installation in /D= (or the default)
    std::optional<std::wstring> installFolder;  // /D=: trimmed, with its trailing "\"
    std::optional<bool> driver;                 // /DRIVER=YES|NO
    std::optional<RuntimeChoice> runtime;       // /RUNTIME=WIN7|WINXP
    bool replaceDatabase = false;               // /DB=REPLACE: unattended, too, the database is replaced
    bool allUsers = false;                      // /ALLUSERS: unattended, the shortcut on the all users' desktop
    std::optional<std::wstring> logFile;        // /LOG=: a full path; set only when that value is sound
    // Success when the command line is sound; otherwise its action is what
    // is wrong with it, naming the argument, for the user (the fields above
    // are then partly filled and only unattended, help and logFile may be
    // relied on), and its code the system's when the line could not be
    // split, else 0.
    Result<> error;
};

// Parses a whole command line as a process gets it (GetCommandLineW): split
// by the system's rules (CommandLineToArgvW) after any blanks before the
// program's own path, which is left out. A line the system cannot split
// gives an error. Windows side.
CommandLine ParseProcessCommandLine(const wchar_t* commandLine);

// Parses the arguments that follow the program's own path. Never fails:
// problems are reported in the result's error.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// True when some word of the raw command line, between blanks, tabs and
// quotes, is /S or -S or another family's silent switch, in any case. A line that cannot be parsed as meant
// (a "\" before a closing quote swallows the rest) may still ask for no
// boxes, and a box nobody sees would hold a deployment up.
bool MentionsUnattended(std::wstring_view commandLine);

// The text of the /? box: every switch and every exit code. defaultFolder
// is the install folder used when /D is not given.
std::wstring CommandLineHelp(std::wstring_view defaultFolder);
