#include "engine/process_runner.h"

#include <windows.h>

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
// may be empty (inherit the installer's). False when creation failed.
bool Start(std::wstring_view commandLine, WORD showState, std::wstring_view currentFolder,
           StartedProcess& started) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showState;
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    const std::wstring folder(currentFolder);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    started.process.reset(info.hProcess);
    started.thread.reset(info.hThread);
    return true;
}

DWORD ExitCodeOf(const StartedProcess& started) {
    DWORD code = 0;
    GetExitCodeProcess(started.process.get(), &code);
    return code;
}

// The folder part of program without its trailing "\", except for a drive
// root such as "C:\".
std::wstring WorkingFolderOf(std::wstring_view program) {
    std::wstring folder = FolderOf(program);
    if (folder.size() > 1 && !(folder.size() == 3 && folder[1] == L':')) folder.pop_back();
    return folder;
}

}  // namespace

uint32_t RunAndWait(std::wstring_view program, std::wstring_view parameters, uint16_t showState) {
    const std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + std::wstring(parameters);
    StartedProcess started;
    if (!Start(commandLine, showState, WorkingFolderOf(program), started))
        throw Error(L"ia niia nicaaou i?ioann: " + std::wstring(program));
    if (WaitProcessingMessages(started.process.get()) == WAIT_FAILED) throw Error(L"Range check error");
    return ExitCodeOf(started);
}

int32_t StartProgram(std::wstring_view commandLine, uint32_t showState, bool wait,
                     std::wstring_view currentFolder) {
    if (showState > 0xFFFF) throw Error(L"Range check error");
    StartedProcess started;
    if (!Start(commandLine, static_cast<WORD>(showState), currentFolder, started)) return -1;
    if (!wait) return 0;
    WaitProcessingMessages(started.process.get());
    return static_cast<int32_t>(ExitCodeOf(started));
}
