// Command lines come from whoever writes a deployment tool's command field:
// the parse never fails other than with its error text, a line it accepts
// holds only full paths without forbidden characters, and /S and /? count
// exactly when an argument is one of them, wherever it stands.
// Input: the arguments, one a line, as UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "base/utf8.h"

namespace {

bool IsFullPath(std::wstring_view path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    const bool share = path.size() > 2 && path.substr(0, 2) == L"\\\\";
    return drive || share;
}

bool IsCleanPath(std::wstring_view path) {
    if (!IsFullPath(path)) return false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c < 0x20 || std::wstring_view(L"\"<>|*?").find(c) != std::wstring_view::npos) return false;
        if (c == L':' && i != 1) return false;
    }
    return true;
}

// argument is one of the two-character switches, in either case.
bool Is(std::wstring_view argument, wchar_t prefix, wchar_t letter) {
    return argument.size() == 2 && argument[0] == prefix &&
           (argument[1] == letter || argument[1] == static_cast<wchar_t>(letter + 32));
}

bool AnyIs(const std::vector<std::wstring>& arguments, wchar_t letter) {
    for (const std::wstring& argument : arguments)
        if (Is(argument, L'/', letter) || Is(argument, L'-', letter)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::wstring> arguments;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    const CommandLine line = ParseCommandLine(arguments);
    if (line.unattended != AnyIs(arguments, L'S')) std::abort();
    bool help = false;
    for (const std::wstring& argument : arguments) help = help || argument == L"/?" || argument == L"-?";
    if (line.help != help) std::abort();
    if (!line.error) return 0;
    if (line.installFolder && (!IsCleanPath(*line.installFolder) || line.installFolder->size() <= 3 ||
                               line.installFolder->back() != L'\\'))
        std::abort();
    if (line.logFile && (!IsCleanPath(*line.logFile) || line.logFile->back() == L'\\')) std::abort();
    // Every argument was taken: as many switches as arguments were set.
    const std::size_t set = line.unattended + line.help + line.installFolder.has_value() +
                            line.driver.has_value() + line.runtime.has_value() + line.logFile.has_value() +
                            line.uninstall;
    if (set != arguments.size()) std::abort();
    return 0;
}
