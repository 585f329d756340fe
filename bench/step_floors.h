// The platform's own cost of the pass's last three steps, each done once in
// a fresh process as the pass does it: the floor each step is measured
// against.
#pragma once

#include <string>

// In folder (with its trailing "\", existing), times starting "cmd.exe /c
// exit" hidden in a console of its own and waiting for it (the update
// script's start), loading MSXML and saving a small document to a file (the
// release level), and saving one shell link (the shortcut). Prints
// "floor_script_seconds", "floor_level_seconds" and "floor_link_seconds".
// Raises Error when a step fails.
void TimeStepFloors(const std::wstring& folder);
