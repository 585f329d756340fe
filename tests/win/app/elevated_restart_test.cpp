// The arguments handed to the elevated run are those the system splits off
// after the program's path: checked against CommandLineToArgvW itself.
#include "app/elevated_restart.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "base/utf8.h"

namespace {

std::vector<std::wstring> Split(const std::wstring& line) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> split(args, args + count);
    LocalFree(args);
    return split;
}

TEST(ElevatedRestart, TheArgumentsAreWhatTheSystemSplitsOffAfterTheProgram) {
    const wchar_t* lines[] = {
        L"\"C:\\Program Files\\Holter\\Uninstall\\VelmoraSetup.exe\" /UNINSTALL \"/D=C:\\Program Files\\Holter\"",
        L"C:\\Holter\\Uninstall\\VelmoraSetup.exe /UNINSTALL /D=C:\\Holter",
        L"  \"C:\\a b\\Setup.exe\"\t/UNINSTALL   \"/LOG=C:\\l o g\\x.log\"",
        L"\"C:\\a\"b /S",
        L"Setup.exe",
    };
    for (const std::wstring line : lines) {
        // Blanks before the path would make the system split off an empty
        // program name: the setup's own parse skips them, and so does this.
        std::vector<std::wstring> expected = Split(line.substr(line.find_first_not_of(L" \t")));
        expected.erase(expected.begin());
        const std::wstring arguments = ArgumentsAfterProgram(line);
        const std::vector<std::wstring> again =
            arguments.empty() ? std::vector<std::wstring>{} : Split(L"x " + arguments);
        EXPECT_EQ(std::vector<std::wstring>(again.begin() + (again.empty() ? 0 : 1), again.end()), expected)
            << ToUtf8(line) << " -> " << ToUtf8(arguments);
    }
}

}  // namespace
