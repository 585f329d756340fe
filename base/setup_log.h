// The run's setup log, the file support reads after a failed installation:
// %TEMP%\VelmoraSetup YYYY-MM-DD HH-MM-SS.log, UTF-8 with a byte-order mark,
// CR LF, one event a line with the local date and time first. Every line
// goes to the file at once, so a crash keeps everything written before it.
// A log that cannot be opened or written never changes the installation:
// its events are then dropped.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/result.h"

namespace setup_log {

// Starts the run's log in folder (the user's temporary folder when empty).
// Returns false, and logs nothing from then on, when the file cannot be made.
bool Open(std::wstring_view folder = {});

// Starts the run's log in the file at path (/LOG=, a full path): missing
// folders on the way are made, a new file is made, an existing one is added
// to, so the logs of several runs share it. A failure ("Log file not
// opened: <path>" and the failing call's code) logs nothing from then on.
Result<> OpenFile(std::wstring_view path);

// The open log's full path; empty when none is open.
std::wstring Path();

// Appends one event line.
void Write(std::wstring_view event);

// Appends event + ": error <code>: <system text>".
void WriteError(std::wstring_view event, DWORD code);

// Appends the failure's action, with its code and system text when it
// carries a code.
void WriteFailure(const Result<>& failure);

// Ends the log; later events are dropped.
void Close();

}  // namespace setup_log
