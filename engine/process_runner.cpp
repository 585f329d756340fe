#include "engine/process_runner.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/message_pump.h"
#include "base/strings.h"

namespace {

// The process and its main thread, both closed when it goes out of scope.
struct StartedProcess {
    ScopedHandle process;
    ScopedHandle thread;
};

// CreateProcessW with the start parameters both starters share. currentFolder
// may be empty (inherit the installer's). With console, the program writes
// its standard output and error into it. A failure carries CreateProcessW's
// code.
Result<> Start(std::wstring_view commandLine, WORD showState, std::wstring_view currentFolder,
               StartedProcess& started, ConsoleCapture* console = nullptr) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showState;
    const bool caught = console && console->ProgramEnd();
    if (caught) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = console->ProgramInput();
        startup.hStdOutput = console->ProgramEnd();
        startup.hStdError = console->ProgramEnd();
    }
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    const std::wstring folder(currentFolder);
    PROCESS_INFORMATION info = {};
    // Only the console's handles are inheritable among the installer's.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, caught, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        const DWORD code = GetLastError();
        return Result<>::Failure(L"Not started: " + std::wstring(commandLine), code);
    }
    started.process.reset(info.hProcess);
    started.thread.reset(info.hThread);
    return {};
}

// Waits for the started program's end and reads its exit code.
ProgramResult AwaitEnd(const StartedProcess& started, std::wstring_view commandLine) {
    if (const DWORD code = WaitProcessingMessages(started.process.get()); code != ERROR_SUCCESS)
        return {true, 0, Result<>::Failure(L"Its end cannot be awaited: " + std::wstring(commandLine), code)};
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(started.process.get(), &exitCode)) {
        const DWORD code = GetLastError();
        return {true, 0, Result<>::Failure(L"Its exit code cannot be read: " + std::wstring(commandLine), code)};
    }
    return {true, exitCode, {}};
}

}  // namespace

ProgramResult RunAndWait(std::wstring_view program, std::wstring_view parameters, uint16_t showState,
                         ConsoleCapture* console) {
    const std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + std::wstring(parameters);
    StartedProcess started;
    Result<> start = Start(commandLine, showState, FolderOf(program), started, console);
    if (console) console->ProgramStarted();
    if (!start) return {false, 0, std::move(start)};
    return AwaitEnd(started, commandLine);
}

Error RunAndWaitError(std::wstring_view program, const ProgramResult& run) {
    return Error(run.started ? L"Range check error" : L"ia niia nicaaou i?ioann: " + std::wstring(program));
}

ProgramResult StartProgram(std::wstring_view commandLine, uint32_t showState, bool wait,
                           std::wstring_view currentFolder) {
    if (showState > 0xFFFF) throw Error(L"Range check error");
    StartedProcess started;
    if (Result<> start = Start(commandLine, static_cast<WORD>(showState), currentFolder, started); !start)
        return {false, 0, std::move(start)};
    if (!wait) return {true, 0, {}};
    return AwaitEnd(started, commandLine);
}
