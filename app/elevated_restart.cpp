#include "app/elevated_restart.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "app/exit_codes.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/message_pump.h"
#include "base/setup_log.h"

int RunAgainElevated() {
    const std::wstring program = ModulePath();
    const std::wstring arguments = ArgumentsAfterProgram(GetCommandLineW());
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof(start);
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    start.lpVerb = L"runas";
    start.lpFile = program.c_str();
    start.lpParameters = arguments.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&start) || !start.hProcess) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Removal not started with the administrator's rights", code);
        return exit_code::kNeedsAdministrator;
    }
    const ScopedHandle process(start.hProcess);
    WaitProcessingMessages(process.get());
    DWORD exitCode = exit_code::kFailed;
    if (!GetExitCodeProcess(process.get(), &exitCode)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Exit code of the removal with the administrator's rights not read", code);
        return exit_code::kFailed;
    }
    setup_log::Write(L"Removal with the administrator's rights ended with exit code " + std::to_wstring(exitCode));
    return static_cast<int>(exitCode);
}

std::wstring ArgumentsAfterProgram(std::wstring_view line) {
    constexpr std::wstring_view kBlanks = L" \t";
    size_t start = std::min(line.find_first_not_of(kBlanks), line.size());
    size_t end = line.substr(start, 1) == L"\"" ? line.find(L'"', start + 1)
                                                : std::min(line.find_first_of(kBlanks, start), line.size());
    if (end == std::wstring_view::npos) return L"";
    if (line.substr(end, 1) == L"\"") ++end;
    return std::wstring(line.substr(std::min(line.find_first_not_of(kBlanks, end), line.size())));
}
