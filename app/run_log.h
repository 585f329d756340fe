// What the setup log says about the run as a whole: who and what is
// running (program version, Windows, rights, installer folder) and how the
// run ended.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace run_log {

// The program's version as its own VERSIONINFO resource gives it
// ("1.2.3.4"); empty when the resource is missing.
std::wstring ProgramVersion(HINSTANCE module);

// Writes the run's header lines: program and version, Windows version and
// build, whether the process is elevated, the installer folder.
void WriteHeader(HINSTANCE module, std::wstring_view installerFolder);

// How the run stands; the last one noted is the run's ending.
enum class Outcome {
    Closed,      // the window was closed without an installation
    Cancelled,   // the user cancelled on a wizard page
    Completed,   // the installation ran to its end
    Error,       // a failure ended the installation or an error report was shown
    NotStarted,  // refused before anything was written (command line, another run, room, rights)
};
void Note(Outcome outcome);

// Writes how the run ended, with the process's exit code.
void WriteEnd(int exitCode);

}  // namespace run_log
