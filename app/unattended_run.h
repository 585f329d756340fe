// The unattended installation (/S) that deployment tools start on many PCs:
// no window and no box. The command line's choices or the wizard's
// defaults make the request, the preflight and the installation run as
// from "Начать установку", and the setup log is the only report.
#pragma once

#include <windows.h>

#include "app/command_line.h"

// Runs the installation that commandLine describes and returns the exit
// code (app/exit_codes.h): kNoRoom or kNeedsAdministrator when the preflight
// refuses (nothing written), kFailed when an error ends the installation
// (its text in the setup log), kStepsFailed when it ran to its end with
// failed steps, kDone otherwise. Never changes the font size, never
// restarts Windows, never raises.
int RunUnattended(HINSTANCE instance, const CommandLine& commandLine) noexcept;

// The error report of an unattended run for the exception being handled:
// its text goes into the setup log, the run counts as ended by an error,
// and the result is kFailed. Call only inside a catch block.
int EndUnattendedByError() noexcept;
