#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/exit_codes.h"

namespace {

using Args = std::vector<std::wstring>;

TEST(CommandLine, NoArgumentsIsTheWizardAsAlways) {
    const CommandLine line = ParseCommandLine({});
    EXPECT_FALSE(line.unattended);
    EXPECT_FALSE(line.help);
    EXPECT_FALSE(line.installFolder || line.driver || line.runtime || line.logFile);
    EXPECT_FALSE(line.replaceDatabase || line.allUsers);
    EXPECT_EQ(line.error.action(), L"");
}

TEST(CommandLine, SwitchesInAnyCaseWithSlashOrDash) {
    const CommandLine line = ParseCommandLine(
        {L"-s", L"/d=  D:\\Клиника\\Holter ", L"-Driver=yes", L"/runtime=WinXP", L"/Log=\\\\srv\\logs\\pc 1.log"});
    EXPECT_EQ(line.error.action(), L"");
    EXPECT_TRUE(line.unattended);
    EXPECT_EQ(line.installFolder, L"D:\\Клиника\\Holter\\");
    EXPECT_EQ(line.driver, true);
    EXPECT_EQ(line.runtime, RuntimeChoice::WindowsXp);
    EXPECT_EQ(line.logFile, L"\\\\srv\\logs\\pc 1.log");

    EXPECT_EQ(ParseCommandLine({L"/DRIVER=NO"}).driver, false);
    EXPECT_EQ(ParseCommandLine({L"/RUNTIME=win7"}).runtime, RuntimeChoice::Modern);
    EXPECT_EQ(ParseCommandLine({L"/D=\\\\srv\\share\\Holter"}).installFolder, L"\\\\srv\\share\\Holter\\");
    EXPECT_TRUE(ParseCommandLine({L"/?"}).help);
    EXPECT_TRUE(ParseCommandLine({L"-?"}).help);

    const CommandLine removal = ParseCommandLine({L"/Uninstall", L"/D=C:\\Program Files\\Holter", L"-S"});
    EXPECT_EQ(removal.error.action(), L"");
    EXPECT_TRUE(removal.uninstall);
    EXPECT_TRUE(removal.unattended);
    EXPECT_EQ(removal.installFolder, L"C:\\Program Files\\Holter\\");
    EXPECT_FALSE(ParseCommandLine({L"/S"}).uninstall);
    EXPECT_TRUE(ParseCommandLine({L"/db=Replace"}).replaceDatabase);
    EXPECT_TRUE(ParseCommandLine({L"-AllUsers"}).allUsers);
}

struct Refusal {
    Args arguments;
    const wchar_t* error;
};

// Every problem is an error naming the argument; nothing is passed over.
TEST(CommandLine, UnknownSwitchesAndMalformedValuesAreErrors) {
    const Refusal cases[] = {
        {{L"/X"}, L"Неизвестный ключ командной строки: /X"},
        {{L"/SILENTLY"}, L"Неизвестный ключ командной строки: /SILENTLY"},
        {{L"/VERYSILENT=1"}, L"Неизвестный ключ командной строки: /VERYSILENT=1"},
        {{L"S"}, L"Неизвестный ключ командной строки: S"},
        {{L"/"}, L"Неизвестный ключ командной строки: /"},
        {{L""}, L"Неизвестный ключ командной строки: "},
        {{L"C:\\Holter"}, L"Неизвестный ключ командной строки: C:\\Holter"},
        {{L"/DIR=C:\\Holter"}, L"Неизвестный ключ командной строки: /DIR=C:\\Holter"},
        {{L"/S", L"/s"}, L"Ключ командной строки задан дважды: /s"},
        {{L"/D=C:\\a", L"-D=C:\\b"}, L"Ключ командной строки задан дважды: -D=C:\\b"},
        {{L"/S=1"}, L"Неверное значение ключа командной строки /S=1: этот ключ не принимает значения."},
        {{L"/D"}, L"Неверное значение ключа командной строки /D: после имени ключа нужен знак \"=\" и значение."},
        {{L"/D="}, L"Неверное значение ключа командной строки /D=: не выбран путь для установки программы."},
        {{L"/D=   "}, L"Неверное значение ключа командной строки /D=   : не выбран путь для установки программы."},
        {{L"/D=C:"},
         L"Неверное значение ключа командной строки /D=C:: программу нельзя устанавливать в корневой "
         L"каталог."},
        {{L"/D=C:\\"},
         L"Неверное значение ключа командной строки /D=C:\\: программу нельзя устанавливать в "
         L"корневой каталог."},
        {{L"/D=Holter"},
         L"Неверное значение ключа командной строки /D=Holter: нужен полный путь, например C:\\Holter."},
        {{L"/D=\\Holter"},
         L"Неверное значение ключа командной строки /D=\\Holter: нужен полный путь, например "
         L"C:\\Holter."},
        {{L"/D=C:Holter"},
         L"Неверное значение ключа командной строки /D=C:Holter: нужен полный путь, например "
         L"C:\\Holter."},
        {{L"/D=..\\Holter"},
         L"Неверное значение ключа командной строки /D=..\\Holter: нужен полный путь, например "
         L"C:\\Holter."},
        {{L"/D=C:\\Holter\""},
         L"Неверное значение ключа командной строки /D=C:\\Holter\": кавычка в пути (обратная "
         L"косая черта перед закрывающей кавычкой экранирует её: уберите эту черту)."},
        {{L"/D=C:\\Holter:x"},
         L"Неверное значение ключа командной строки /D=C:\\Holter:x: недопустимый символ в "
         L"пути."},
        {{L"/D=C:\\Hol\tter"},
         L"Неверное значение ключа командной строки /D=C:\\Hol\tter: недопустимый символ в "
         L"пути."},
        {{L"/DRIVER=1"}, L"Неверное значение ключа командной строки /DRIVER=1: допустимы YES и NO."},
        {{L"/DRIVER="}, L"Неверное значение ключа командной строки /DRIVER=: допустимы YES и NO."},
        {{L"/DRIVER=YES "}, L"Неверное значение ключа командной строки /DRIVER=YES : допустимы YES и NO."},
        {{L"/RUNTIME=XP"}, L"Неверное значение ключа командной строки /RUNTIME=XP: допустимы WIN7 и WINXP."},
        {{L"/DB=KEEP"}, L"Неверное значение ключа командной строки /DB=KEEP: допустимо только REPLACE."},
        {{L"/DB"},
         L"Неверное значение ключа командной строки /DB: после имени ключа нужен знак \"=\" и значение."},
        {{L"/ALLUSERS=1"},
         L"Неверное значение ключа командной строки /ALLUSERS=1: этот ключ не принимает значения."},
        {{L"/ALLUSERS", L"/allusers"}, L"Ключ командной строки задан дважды: /allusers"},
        {{L"/LOG="}, L"Неверное значение ключа командной строки /LOG=: нужно имя файла журнала."},
        {{L"/LOG=C:\\Logs\\"},
         L"Неверное значение ключа командной строки /LOG=C:\\Logs\\: нужно имя файла журнала."},
        {{L"/LOG=setup.log"},
         L"Неверное значение ключа командной строки /LOG=setup.log: нужен полный путь, например "
         L"C:\\Logs\\setup.log."},
        {{L"/UNINSTALL=YES"},
         L"Неверное значение ключа командной строки /UNINSTALL=YES: этот ключ не принимает значения."},
        {{L"/UNINSTALL", L"/DRIVER=NO"},
         L"Ключи /DRIVER, /RUNTIME, /DB и /ALLUSERS не применяются при удалении (/UNINSTALL)."},
        {{L"/RUNTIME=WIN7", L"/uninstall"},
         L"Ключи /DRIVER, /RUNTIME, /DB и /ALLUSERS не применяются при удалении (/UNINSTALL)."},
        {{L"/UNINSTALL", L"/DB=REPLACE"},
         L"Ключи /DRIVER, /RUNTIME, /DB и /ALLUSERS не применяются при удалении (/UNINSTALL)."},
        {{L"/UNINSTALL", L"/ALLUSERS"},
         L"Ключи /DRIVER, /RUNTIME, /DB и /ALLUSERS не применяются при удалении (/UNINSTALL)."},
        {{L"/LOG=C:\\a|b.log"},
         L"Неверное значение ключа командной строки /LOG=C:\\a|b.log: недопустимый символ в "
         L"пути."},
    };
    for (const Refusal& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.error.action(), c.error) << testing::PrintToString(c.arguments);
    }
}

TEST(CommandLine, UnattendedAndHelpCountWhereverTheyStandAndTheFirstProblemIsTold) {
    const CommandLine line = ParseCommandLine({L"/D=Holter", L"/X", L"/S"});
    EXPECT_TRUE(line.unattended) << "a bad line of an unattended run must not show a box";
    EXPECT_EQ(line.error.action().rfind(L"Неверное значение ключа командной строки /D=Holter", 0), 0u);
    EXPECT_TRUE(ParseCommandLine({L"/X", L"/?"}).help);
    // Found by the fuzz target: /S after a malformed /S= must still count.
    EXPECT_TRUE(ParseCommandLine({L"-s=", L"-s"}).unattended);
    EXPECT_FALSE(ParseCommandLine({L"/S=1"}).unattended);
}

// Deployment tools add the silent switches of other installer families out
// of habit: each is refused, and, being a request for a run without a
// person, refused without a box.
TEST(CommandLine, OtherInstallerFamiliesSilentSwitchesAreRefusedAsUnattended) {
    for (const wchar_t* foreign : {L"/VERYSILENT", L"/SILENT", L"/SUPPRESSMSGBOXES", L"/qn", L"/quiet",
                                   L"/passive", L"-VerySilent", L"/QN", L"-Quiet", L"/PASSIVE"}) {
        const CommandLine line = ParseCommandLine({foreign});
        EXPECT_TRUE(line.unattended) << testing::PrintToString(std::wstring(foreign));
        EXPECT_EQ(line.error.action(), L"Неизвестный ключ командной строки: " + std::wstring(foreign) +
                                           L" (ключ программ установки другого типа; установка без участия "
                                           L"пользователя: /S)");
    }
    const CommandLine both = ParseCommandLine({L"/VERYSILENT", L"/SUPPRESSMSGBOXES", L"/D=C:\\Holter"});
    EXPECT_TRUE(both.unattended);
    EXPECT_EQ(both.error.action().rfind(L"Неизвестный ключ командной строки: /VERYSILENT (", 0), 0u);
}

// A refused line still names its log, when that value is sound: the
// deployment tool looks for the refusal there.
TEST(CommandLine, ASoundLogFileIsKeptWhenAnotherSwitchIsBad) {
    const CommandLine refused = ParseCommandLine({L"/S", L"/X", L"/LOG=C:\\logs\\x.log"});
    EXPECT_FALSE(refused.error.ok());
    EXPECT_EQ(refused.logFile, L"C:\\logs\\x.log");
    EXPECT_FALSE(ParseCommandLine({L"/S", L"/LOG=x.log"}).logFile) << "a bad value names no file";
    EXPECT_FALSE(ParseCommandLine({L"/S", L"/LOG=C:\\a|b.log"}).logFile);
    EXPECT_EQ(ParseCommandLine({L"/LOG=C:\\a.log", L"/LOG=C:\\b.log"}).logFile, L"C:\\a.log")
        << "the second /LOG= is the refused one";
}

TEST(CommandLine, UnattendedIsSeenInARawLineThatCannotBeParsedAsMeant) {
    EXPECT_TRUE(MentionsUnattended(L"Setup.exe /D=\"C:\\Program Files\\Holter\\\" /s"));
    EXPECT_TRUE(MentionsUnattended(L"Setup.exe\t-S\t/X"));
    EXPECT_TRUE(MentionsUnattended(L"\"/S\""));
    EXPECT_TRUE(MentionsUnattended(L"Setup.exe /D=\"C:\\Holter\\\" /qn"));
    EXPECT_FALSE(MentionsUnattended(L"Setup.exe /SILENTLY /D=C:\\S"));
    EXPECT_FALSE(MentionsUnattended(L"C:\\dist\\S /X"));
    EXPECT_FALSE(MentionsUnattended(L""));
}

TEST(CommandLine, HelpListsEverySwitchAndExitCode) {
    const std::wstring help = CommandLineHelp(L"C:\\Holter\\");
    for (const wchar_t* item : {L"/S", L"/D=", L"/DRIVER=YES|NO", L"/RUNTIME=WIN7|WINXP", L"/LOG=", L"/DB=REPLACE",
                                L"/ALLUSERS", L"/?", L"/UNINSTALL", L"(по умолчанию C:\\Holter\\)"})
        EXPECT_NE(help.find(item), std::wstring::npos) << testing::PrintToString(std::wstring(item));
    for (int code : {exit_code::kDone, exit_code::kRestartNeeded, exit_code::kStepsFailed, exit_code::kBadSwitch,
                     exit_code::kNoRoom, exit_code::kNeedsAdministrator, exit_code::kFailed,
                     exit_code::kAlreadyRunning, exit_code::kNotInstalled})
        EXPECT_NE(help.find(L"\r\n" + std::to_wstring(code) + L" — "), std::wstring::npos) << code;
}

}  // namespace
