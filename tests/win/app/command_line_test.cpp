// The command line as the process gets it, split by the system's own rules
// (CommandLineToArgvW) and parsed: what a deployment tool writes is what
// the setup reads, hostile quoting included.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf8.h"

namespace {

// One argument quoted so that CommandLineToArgvW gives it back unchanged:
// backslashes are doubled only before a quote or the closing quote.
std::wstring Quote(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        for (; i < argument.size() && argument[i] == L'\\'; ++i) ++backslashes;
        if (i == argument.size()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        quoted.append(argument[i] == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        quoted += argument[i];
    }
    return quoted + L"\"";
}

std::string Show(const CommandLine& line) {
    return "unattended " + std::to_string(line.unattended) + ", help " + std::to_string(line.help) + ", folder " +
           ToUtf8(line.installFolder.value_or(L"-")) + ", driver " +
           (line.driver ? std::to_string(*line.driver) : "-") + ", runtime " +
           (line.runtime ? std::to_string(static_cast<int>(*line.runtime)) : "-") + ", log " +
           ToUtf8(line.logFile.value_or(L"-")) + ", error " + ToUtf8(line.error.action());
}

TEST(ProcessCommandLine, EveryArgumentComesBackThroughTheSystemsSplitting) {
    const std::vector<std::vector<std::wstring>> cases = {
        {},
        {L"/S"},
        {L"/S", L"/D=C:\\Program Files\\Velmora Холтер\\", L"/LOG=C:\\Logs\\журнал установки.log"},
        {L"/D=C:\\a\"b"},
        {L"/D=C:\\a\\\\\"\\\\b\\\\"},
        {L"/LOG=C:\\Logs\\\"quoted\".log"},
        {L""},
        {L"/S", L"", L"/D=C:\\Holter"},
        {L"-s", L"/D=\tC:\\Holter\t"},
        {L"\"", L"\\", L"\\\"", L"\\\\\""},
        {L"/DRIVER=YES", L"/RUNTIME=WINXP", L"-?"},
        {L"/D=C:\\Holter\n/S"},
        {L"/D=\\\\server\\share\\Холтер \u00a0\u2028"},
    };
    for (const std::vector<std::wstring>& arguments : cases) {
        std::wstring commandLine = L"\"C:\\Program Files\\Setup\\VelmoraSetup.exe\"";
        for (const std::wstring& argument : arguments) commandLine += L" " + Quote(argument);
        EXPECT_EQ(Show(ParseProcessCommandLine(commandLine.c_str())), Show(ParseCommandLine(arguments)))
            << ToUtf8(commandLine);
    }
}

struct Written {
    const wchar_t* commandLine;
    const wchar_t* folder;  // nullptr: no folder
    const wchar_t* error;   // the start of the error; "" for none
    bool unattended;
};

// What people type in a deployment tool's command field.
TEST(ProcessCommandLine, CommandLinesAsTypedInADeploymentTool) {
    const Written cases[] = {
        {L"VelmoraSetup.exe /S /D=\"C:\\Program Files\\Holter\"", L"C:\\Program Files\\Holter\\", L"", true},
        {L"VelmoraSetup.exe /S \"/D=C:\\Program Files\\Holter\"", L"C:\\Program Files\\Holter\\", L"", true},
        {L"  \"C:\\dist\\VelmoraSetup.exe\"   /S   /D=C:\\Holter  ", L"C:\\Holter\\", L"", true},
        // The "\" before the closing quote escapes it: the quote and the
        // rest of the line become part of the folder, which is refused, and
        // the swallowed /S still keeps every box away.
        {L"VelmoraSetup.exe /D=\"C:\\Program Files\\Holter\\\" /S", nullptr,
         L"Неверное значение ключа командной строки /D=C:\\Program Files\\Holter\" /S: кавычка в пути", true},
        {L"VelmoraSetup.exe /S /D=C:\\Program Files\\Holter", nullptr,
         L"Неизвестный ключ командной строки: Files\\Holter", true},
        {L"VelmoraSetup.exe /D=\"\"", nullptr,
         L"Неверное значение ключа командной строки /D=: не выбран путь для установки программы.", false},
        {L"VelmoraSetup.exe", nullptr, L"", false},
        {L"", nullptr, L"", false},
    };
    for (const Written& c : cases) {
        const CommandLine line = ParseProcessCommandLine(c.commandLine);
        if (*c.error == L'\0')
            EXPECT_EQ(line.error.action(), L"") << ToUtf8(c.commandLine);
        else
            EXPECT_EQ(line.error.action().rfind(c.error, 0), 0u)
                << ToUtf8(c.commandLine) << ": " << ToUtf8(line.error.action());
        if (c.folder) {
            EXPECT_EQ(line.installFolder, c.folder) << ToUtf8(c.commandLine);
        } else if (line.error.ok()) {
            EXPECT_FALSE(line.installFolder) << ToUtf8(c.commandLine);
        }
        EXPECT_EQ(line.unattended, c.unattended) << ToUtf8(c.commandLine);
    }
}

}  // namespace
