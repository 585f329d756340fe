#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <memory>

#include "app/command_line.h"
#include "base/system_error.h"

namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t** memory) const { LocalFree(memory); }
};

}  // namespace

CommandLine ParseProcessCommandLine(const wchar_t* commandLine) {
    // Blanks before the program's path make the system split off an empty
    // program name and take the path for the first argument.
    commandLine += wcsspn(commandLine, L" \t");
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalFreeDeleter> split(CommandLineToArgvW(commandLine, &count));
    if (!split) {
        const DWORD code = GetLastError();
        CommandLine unreadable;
        unreadable.unattended = MentionsUnattended(commandLine);
        unreadable.error = Result<>::Failure(L"Командная строка не прочитана: " + SystemErrorText(code), code);
        return unreadable;
    }
    // The first is the program's own path.
    CommandLine line =
        ParseCommandLine(std::vector<std::wstring>(split.get() + (count > 0 ? 1 : 0), split.get() + count));
    if (!line.error && MentionsUnattended(commandLine)) line.unattended = true;
    return line;
}
