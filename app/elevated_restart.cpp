#include "app/elevated_restart.h"

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "app/exit_codes.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/message_pump.h"
#include "base/setup_log.h"

namespace {

// The raw command line after the program's own path, as the system splits
// it off: up to the closing quote when it starts with one, else up to the
// first blank.
std::wstring ArgumentsAfterProgram(const wchar_t* line) {
    line += wcsspn(line, L" \t");
    const wchar_t* end = *line == L'"' ? wcschr(line + 1, L'"') : line + wcscspn(line, L" \t");
    if (!end) return L"";
    if (*end == L'"') ++end;
    return end + wcsspn(end, L" \t");
}

}  // namespace

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
