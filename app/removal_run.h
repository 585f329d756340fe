// The removal (/UNINSTALL) as the Uninstall entry's commands start it:
// interactive, one question (default No) and a box with the result; or
// with /S, no window at all and the setup log as the only report.
#pragma once

#include <windows.h>

#include "app/command_line.h"

// Removes the installation in the command line's /D= folder (the default
// install folder without it) and returns the exit code (app/exit_codes.h):
// kDone when it was removed or there was nothing left to remove (also when
// the question was answered No: nothing changed), kStepsFailed when
// something could not be removed, kNotInstalled when there is no readable
// installation record (nothing removed), kNeedsAdministrator when the
// process is not elevated (nothing removed; an interactive run is started
// elevated first, app/elevated_restart.h). Errors raised pass on.
int RunRemoval(HINSTANCE instance, const CommandLine& commandLine);
