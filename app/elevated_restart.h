// Under UAC, "Programs and Features" starts an entry's removal command with
// the user's filtered rights; the removal needs the administrator's.
#pragma once

#include <string>
#include <string_view>

// Starts this program again with its own arguments, asking Windows for the
// administrator's rights (the UAC prompt), waits for it and returns its
// exit code. kNeedsAdministrator (app/exit_codes.h) when the prompt is
// declined or the start fails, with the system's reason in the setup log.
int RunAgainElevated();

// A raw command line (GetCommandLineW) after the program's own path, as the
// system splits that path off: up to the closing quote when it starts with
// one, else up to the first blank; the blanks after it left out.
std::wstring ArgumentsAfterProgram(std::wstring_view commandLine);
