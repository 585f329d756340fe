// Starting the package's own programs (the driver installer, the update
// scripts) and waiting for them. While they wait, both starters dispatch the
// calling thread's window messages, so its windows repaint and answer a
// started program's broadcasts; a quit request that arrives meanwhile is
// posted again once the wait ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/result.h"
#include "engine/console_capture.h"

// Runs program with parameters and waits for its end. The command line is the
// program path in double quotes, one blank and parameters (so a path with
// blanks never starts a program at a truncated path) and is passed whole,
// however long. The program runs with the folder part of its path as its
// current folder (a drive root keeps its "\"), in a new console, shown as
// showState (SW_HIDE hides it). The result says whether it started and its
// exit code, or carries the code of the call that failed (the start, the wait
// or the exit-code query); the process and thread handles are closed on every
// path. With console (and no failure in it) the program's standard output and
// error go into console and its standard input is the NUL device. Never
// raises.
ProgramResult RunAndWait(std::wstring_view program, std::wstring_view parameters, uint16_t showState,
                         ConsoleCapture* console = nullptr);

// The error the installation raises for a RunAndWait of program that did
// not end as it should: "ia niia nicaaou i?ioann: <program>" when it did not
// start, "Range check error" when its end or exit code could not be learnt.
Error RunAndWaitError(std::wstring_view program, const ProgramResult& run);

// Starts commandLine as given (the caller quotes a program path that may
// hold blanks), in currentFolder (empty: the installer's current folder), in
// a new console, shown as showState; with wait, waits without a time limit
// for its exit code. The result says whether it started (not when
// currentFolder does not exist either) and, with wait, how it ended, with the
// failing call's code otherwise; without wait only started counts. Raises
// Error "Range check error" when showState does not fit in 16 bits.
ProgramResult StartProgram(std::wstring_view commandLine, uint32_t showState, bool wait,
                           std::wstring_view currentFolder = {});
