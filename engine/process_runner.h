// Starting the package's own programs (the driver installer, the update
// scripts) and waiting for them. While they wait, both starters dispatch the
// calling thread's window messages, so its windows repaint and answer a
// started program's broadcasts; a quit request that arrives meanwhile is
// posted again once the wait ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Runs program with parameters and waits for its end; returns its exit
// code. The command line is the program path in double quotes, one blank
// and parameters (so a path with blanks never starts a program at a
// truncated path) and is passed whole, however long. The program runs with
// the folder part of its path as its current folder (a drive root keeps its
// "\"), in a new console, shown as showState (SW_HIDE hides it). Raises
// Error "ia niia nicaaou i?ioann: <program>" when it cannot be started, and
// "Range check error" when waiting fails; the process and thread handles are
// closed on every path.
uint32_t RunAndWait(std::wstring_view program, std::wstring_view parameters, uint16_t showState);

// Starts commandLine as given (the caller quotes a program path that may
// hold blanks), in currentFolder (empty: the installer's current folder), in
// a new console, shown as showState; with wait, waits without a time limit
// and returns the exit code. Returns -1 when the program cannot be started
// (also when currentFolder does not exist; GetLastError then tells why);
// without wait the result means nothing else. Raises Error "Range check
// error" when showState does not fit in 16 bits.
int32_t StartProgram(std::wstring_view commandLine, uint32_t showState, bool wait,
                     std::wstring_view currentFolder = {});
