// A started program's standard output and error caught through a pipe that
// a thread of its own reads while the program runs, so the program never
// stalls on a full pipe and nothing is written to any folder. The program's
// standard input is the NUL device: a script that waits for a key goes on
// at once.
#pragma once

#include <windows.h>

#include <memory>

#include "base/handles.h"
#include "base/result.h"
#include "engine/capped_output.h"

class ConsoleCapture {
public:
    // Makes the pipe and starts its reader, keeping at most cap bytes. A
    // failure is in error(); the program then runs without it.
    explicit ConsoleCapture(size_t cap);
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    const Result<>& error() const { return error_; }
    // The end the program writes into, inheritable; null after a failure.
    HANDLE ProgramEnd() const { return programEnd_.get(); }
    // The program's standard input, inheritable; null after a failure.
    HANDLE ProgramInput() const { return programInput_.get(); }
    // After the program started: only its copies keep the pipe open now.
    void ProgramStarted() {
        programEnd_.reset();
        programInput_.reset();
    }
    // After the program ended: the output, read until the pipe closed, or
    // for at most a few seconds more while a program it started holds the
    // pipe open (then stillOpen() is true and the rest is not read).
    CappedOutput Finish();
    bool stillOpen() const { return stillOpen_; }

private:
    struct Reading;
    static DWORD WINAPI Read(void* reading);

    Result<> error_;
    ScopedHandle programEnd_;
    ScopedHandle programInput_;
    std::shared_ptr<Reading> reading_;
    ScopedHandle thread_;
    bool stillOpen_ = false;
};
