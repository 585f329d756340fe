// The real installer started unattended (/S), as a deployment tool starts
// it, one row of a table for each deployment case: the switches, the exit
// code, the setup-log events it must write in that order and its last
// event, the state it leaves, and that no window or box shows at any time
// while it runs (every window the process shows is seen as it is shown).
// Then the interactive counterparts: the refusals and /? told in a box, and
// the switches presetting the wizard.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/run_facts.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/installer_package.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/e2e/setup_run.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/small_disk.h"
#include "tests/kit/temp_folder.h"

namespace {

const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
const std::wstring kAlreadyRunning =
    L"Программа установки комплекса \"Velmora-Холтер\" уже запущена.\r\nДождитесь окончания той установки.";

using Events = std::vector<std::wstring>;

// One deployment case.
struct Deployment {
    const char* name;
    // Changes to the usual package, the place and the machine before the
    // runs; what it returns is held until the row's checks are done.
    std::function<std::shared_ptr<void>(Place&)> arrange;
    std::function<std::wstring(const Place&)> arguments;
    DWORD exitCode;
    // The starts of events the log must hold in this order.
    std::function<Events(const Place&)> events;
    std::wstring lastEvent;
    // Starts of events the log must not hold.
    Events absent = {};
    // The log of the runs: the named one when empty, else a new log in the
    // temporary folder.
    bool logInTemp = false;
    std::function<void(const Place&, const Events&)> check = {};
    int runs = 1;
    // Runs with this process's id before it starts.
    std::function<void(DWORD pid)> beforeStart = {};
    PackageOptions package = {};
    bool onSmallDisk = false;
};

std::shared_ptr<void> Nothing(Place&) {
    return nullptr;
}

// A row's arrangement: the package's update script replaced by script.
std::function<std::shared_ptr<void>(Place&)> UpdateScript(std::string script) {
    return [script](Place& at) {
        WriteFileBytes(at.package + L"backup\\U010124\\Install.cmd", script);
        return std::shared_ptr<void>();
    };
}

std::wstring Ended(const wchar_t* how, DWORD code) {
    return L"Run ended: " + std::wstring(how) + L" (exit code " + std::to_wstring(code) + L")";
}

// The fonts folder's file that the rights check would make: when it is
// there already, the check finds that it cannot create it, as it finds on a
// PC where the account may not write the fonts folder.
std::wstring RightsProbeOf(DWORD pid) {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return WithTrailingBackslash(windows) + L"fonts\\~VelmoraSetup-" + std::to_wstring(pid) + L".tmp";
}

// The clinic's own database in the install folder, as an earlier
// installation and months of work leave it.
const std::string kClinicDatabase = "the clinic's records";
constexpr FILETIME kClinicDatabaseTime{0x6E402000, 0x01D5F21C};  // 2020-03-04 12:00:00 UTC

std::wstring LiveDatabase(const Place& at) {
    return at.install + L"DTAfb\\V12.FDB";
}

std::shared_ptr<void> PlaceClinicDatabase(Place& at) {
    for (const std::wstring& folder : {at.install, at.install + L"DTAfb"})
        CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileBytes(LiveDatabase(at), kClinicDatabase);
    const ScopedHandle file(CreateFileW(LiveDatabase(at).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !SetFileTime(file.get(), nullptr, nullptr, &kClinicDatabaseTime))
        throw std::runtime_error("cannot date the clinic's database");
    return nullptr;
}

FILETIME LastWriteOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The names in folder that match pattern ("*" and "?").
std::vector<std::wstring> NamesMatching(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const ScopedFindHandle find(FindFirstFileW((folder + pattern).c_str(), &found));
    if (!find) return names;
    do names.emplace_back(found.cFileName);
    while (FindNextFileW(find.get(), &found));
    return names;
}

// The record's line for a file, by its path below the install folder (its
// first field).
std::string RecordLineOf(const Events& events, const std::wstring& relative) {
    const std::string record = ReadFileBytes(FindEvent(events, L"Installation record: ").substr(21));
    const size_t start = record.find("\n" + ToUtf8(relative) + "\t");
    if (start == std::string::npos) return "";
    return record.substr(start + 1, record.find('\r', start) - start - 1);
}

// The shortcut on the desktop every user sees.
std::wstring AllUsersShortcut() {
    wchar_t desktop[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    return WithTrailingBackslash(desktop) + L"Velmora - Холтер.lnk";
}

// A file or empty folder removed when the row is done with it.
struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() {
        if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    }
};

const Deployment kDeployments[] = {
    {
        .name = "CleanInstallWithTheDriver",
        .arrange = Nothing,
        .arguments = [](const Place& at) { return Unattended(at, L"/DRIVER=YES"); },
        .exitCode = 0,
        .events =
            [](const Place& at) {
                return Events{
                    L"Installation started. Install folder: " + at.install + L"; installer folder: " + at.package,
                    L"Choices: runtime for Windows 7, Windows 8; driver chosen; brand standard",
                    L"Progress: Копирование файла V12.FDB....Завершено",
                    L"Progress: Копирование файла SDecision.Dll....Завершено",
                    L"Question (unattended, not shown): " + kDriverQuestion,
                    L"Answer: Yes (unattended: /DRIVER=YES chose the driver)",
                    L"Progress: Установка драйверов устройства завершена",
                    L"Release level recorded: 010124",
                    L"Installation record: " + at.install + L"Settings\\VelmoraSetup record ",
                    L"Progress: Проверка установленных файлов....Завершено: файлов ",
                    L"Installation completed",
                    L"Final question not asked (unattended)",
                };
            },
        .lastEvent = Ended(L"completed", 0),
        // 120 dots per inch are large fonts.
        .absent = {L"Large fonts recommended", L"Not copied by the shell"},
        .check =
            [](const Place& at, const Events& events) {
                EXPECT_EQ(ReadFileBytes(at.install + L"Settings\\holter.ini"),
                          "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
                EXPECT_EQ(ReadFileBytes(at.install + L"Settings\\lastnum.dta").size(), 14u);
                EXPECT_EQ(ReadFileBytes(at.install + L"DTAfb\\V12.FDB"),
                          ReadFileBytes(at.package + L"DTAfb\\V12.FDB"));
                EXPECT_EQ(ReadFileBytes(at.install + L"gbak.exe"), StandInContent(L"Firebird\\gbak.exe"));
                EXPECT_EQ(ReadFileBytes(at.install + L"udf\\Compare.Dll"), StandInContent(L"UDF\\Compare.Dll"));
                EXPECT_TRUE(PathExists(at.package + L"FTDIDriverInstall\\FTDIDriverInstall.done"));
                EXPECT_TRUE(PathExists(at.install + L"backup\\U010124.done"));
                EXPECT_NE(ReadFileBytes(at.install + L"ReleaseInfo").find("<Level>010124</Level>"),
                          std::string::npos);
                EXPECT_TRUE(PathExists(at.install + L"Shell.exe"));
                EXPECT_TRUE(PathExists(DesktopShortcut()));
                const std::wstring verified =
                    FindEvent(events, L"Progress: Проверка установленных файлов....Завершено: файлов ");
                EXPECT_NE(verified.find(L", отличий нет"), std::wstring::npos) << ToUtf8(verified);
                const std::wstring record = FindEvent(events, L"Installation record: ").substr(21);
                EXPECT_TRUE(PathExists(record)) << ToUtf8(record);
            },
    },
    {
        // A deployment tool runs the installation again on a PC where the
        // clinic works: its database stays as it is, byte for byte and with
        // its time, and the record says it was kept.
        .name = "ExistingDatabaseIsKept",
        .arrange = PlaceClinicDatabase,
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 0,
        .events =
            [](const Place& at) {
                return Events{
                    L"Progress: База данных V12.FDB оставлена без изменений (" +
                        std::to_wstring(kClinicDatabase.size()) + L" байт, изменена 2020-03-",
                    L"Database kept as it is (unattended; /DB=REPLACE replaces it): " + LiveDatabase(at),
                    L"Progress: Копирование файла SDecision.Dll....Завершено",
                    L"Installation completed",
                };
            },
        .lastEvent = Ended(L"completed", 0),
        .absent = {L"Progress: Копирование файла V12.FDB", L"Progress: Сохранена копия базы данных"},
        .check =
            [](const Place& at, const Events& events) {
                EXPECT_EQ(ReadFileBytes(LiveDatabase(at)), kClinicDatabase);
                const FILETIME written = LastWriteOf(LiveDatabase(at));
                EXPECT_EQ(CompareFileTime(&kClinicDatabaseTime, &written), 0);
                EXPECT_EQ(NamesMatching(at.install + L"DTAfb\\", L"*.bak"), std::vector<std::wstring>{});
                const std::string row = RecordLineOf(events, L"DTAfb\\V12.FDB");
                EXPECT_NE(row.find(ToUtf8(L"оставлен: база данных клиники")), std::string::npos) << row;
            },
    },
    {
        // Asked for, the package's database takes the live name and the
        // clinic's stays beside it under a dated name.
        .name = "ExistingDatabaseIsReplacedOnRequest",
        .arrange = PlaceClinicDatabase,
        .arguments = [](const Place& at) { return Unattended(at, L"/db=replace"); },
        .exitCode = 0,
        .events =
            [](const Place&) {
                return Events{L"Progress: Копирование файла V12.FDB....Завершено",
                              L"Progress: Сохранена копия базы данных: V12.FDB.", L"Installation completed"};
            },
        .lastEvent = Ended(L"completed", 0),
        .absent = {L"Database kept"},
        .check =
            [](const Place& at, const Events&) {
                EXPECT_EQ(ReadFileBytes(LiveDatabase(at)), ReadFileBytes(at.package + L"DTAfb\\V12.FDB"));
                const std::vector<std::wstring> backups = NamesMatching(at.install + L"DTAfb\\", L"V12.FDB.*.bak");
                ASSERT_EQ(backups.size(), 1u);
                EXPECT_EQ(ReadFileBytes(at.install + L"DTAfb\\" + backups[0]), kClinicDatabase);
            },
    },
    {
        // The driver installer asks for a restart: the run says so and ends
        // with 3010, and restarts nothing itself.
        .name = "DriverAskingForARestartEndsWith3010",
        .arrange =
            [](Place& at) {
                WriteFileBytes(at.package + L"FTDIDriverInstall\\FTDIDriverInstall.exitcode", "3010");
                return std::shared_ptr<void>();
            },
        .arguments = [](const Place& at) { return Unattended(at, L"/DRIVER=YES"); },
        .exitCode = 3010,
        .events =
            [](const Place&) {
                return Events{L"Driver installer ended with exit code 3010",
                              L"Progress: Установка драйверов устройства завершена",
                              L"Progress: Для завершения установки драйвера требуется перезагрузка компьютера",
                              L"Restart needed: the driver installer asks for it (exit code 3010)",
                              L"Installation completed; Windows must be restarted to finish it"};
            },
        .lastEvent = Ended(L"completed", 3010),
    },
    {
        // What the update script writes to its console is in the log.
        .name = "UpdateScriptOutputGoesIntoTheLog",
        .arrange = UpdateScript("@echo off\r\necho Schema 010124 applied\r\necho gbak warning 7 1>&2\r\n"),
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 0,
        .events =
            [](const Place& at) {
                return Events{L"Install.cmd output: Schema 010124 applied", L"Install.cmd output: gbak warning 7",
                              L"Install.cmd of " + at.install + L"backup\\U010124 ended with exit code 0",
                              L"Installation completed"};
            },
        .lastEvent = Ended(L"completed", 0),
        .absent = {L"Install.cmd output cut", L"Console output not caught"},
    },
    {
        // A folder where the shortcut would be saved: the save fails, the
        // line says so and the run ends 299.
        .name = "ShortcutThatCannotBeSavedEndsWith299",
        .arrange =
            [](Place&) {
                CreateDirectoryW(DesktopShortcut().c_str(), nullptr);
                return std::static_pointer_cast<void>(std::make_shared<RemovedAtEnd>(DesktopShortcut()));
            },
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 299,
        .events =
            [](const Place&) {
                return Events{L"Shortcut desktop: the desktop of the account running the installer",
                              L"Shortcut not saved: " + DesktopShortcut() + L": error ",
                              L"Progress: Создание ярлыка на рабочем столе...ОШИБКА!!!",
                              L"Installation completed; problems shown on screen: 1"};
            },
        .lastEvent = Ended(L"completed", 299),
        .absent = {L"Shortcut: "},
    },
    {
        // Asked for, the shortcut goes on the desktop every user sees.
        .name = "AllUsersPutsTheShortcutOnTheAllUsersDesktop",
        .arrange =
            [](Place&) {
                return std::static_pointer_cast<void>(std::make_shared<RemovedAtEnd>(AllUsersShortcut()));
            },
        .arguments = [](const Place& at) { return Unattended(at, L"/ALLUSERS"); },
        .exitCode = 0,
        .events =
            [](const Place&) {
                return Events{L"Shortcut desktop: all users' (public) desktop", L"Shortcut: " + AllUsersShortcut(),
                              L"Installation completed"};
            },
        .lastEvent = Ended(L"completed", 0),
        .check =
            [](const Place&, const Events&) {
                EXPECT_TRUE(PathExists(AllUsersShortcut()));
                EXPECT_FALSE(PathExists(DesktopShortcut())) << "not on the account's own desktop";
            },
    },
    {
        // An update script's non-zero code: the run goes on to its end, the
        // level is recorded, and the exit code says that steps failed.
        .name = "FailingUpdateScriptEndsWith299",
        .arrange = UpdateScript("@echo off\r\nexit /b 3\r\n"),
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 299,
        .events =
            [](const Place& at) {
                return Events{
                    L"Install.cmd of " + at.install + L"backup\\U010124 ended with exit code 3",
                    L"Progress: Пакет обновления <U010124>: Install.cmd завершился с кодом 3",
                    L"Release level recorded: 010124",
                    L"Installation completed; problems shown on screen: 1",
                };
            },
        .lastEvent = Ended(L"completed", 299),
        .check = [](const Place&, const Events&) { EXPECT_TRUE(PathExists(DesktopShortcut())); },
    },
    {
        // A package in the install folder's "backup" that the distribution
        // did not bring: unattended, nobody says Yes, so it never runs, and
        // the exit code says that a step failed.
        .name = "ForeignUpdatePackageNeverRunsAndEndsWith299",
        .arrange =
            [](Place& at) {
                for (const std::wstring& folder :
                     {at.install, at.install + L"backup", at.install + L"backup\\X991231"})
                    CreateDirectoryW(folder.c_str(), nullptr);
                WriteFileBytes(at.install + L"backup\\X991231\\Install.cmd",
                               "@echo off\r\necho planted> ..\\planted.done\r\n");
                return std::shared_ptr<void>();
            },
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 299,
        .events =
            [](const Place& at) {
                return Events{
                    L"Update package " + at.install + L"backup\\X991231 is not the distribution's own",
                    L"Question (unattended, not shown): Пакет обновления " + at.install + L"backup\\X991231",
                    L"Answer: No",
                    L"Progress: Пакет обновления <X991231>: пакет не из этого дистрибутива, Install.cmd не "
                    L"запущен; уровень обновления не записан",
                    L"Release level not recorded",
                    L"Installation completed; problems shown on screen: 1",
                };
            },
        .lastEvent = Ended(L"completed", 299),
        .check = [](const Place& at,
                    const Events&) { EXPECT_FALSE(PathExists(at.install + L"backup\\planted.done")); },
    },
    {
        // A sound update changes the database it was installed with: the
        // read-back proved the copy before, so nothing differs.
        .name = "UpdateThatChangesTheDatabaseEndsWith0",
        .arrange = UpdateScript("@echo off\r\necho schema>> ..\\..\\DTAfb\\V12.FDB\r\n"),
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 0,
        .events =
            [](const Place&) {
                return Events{
                    L"Update script U010124: installed files changed or removed: 1",
                    L"Release level recorded: 010124",
                    L"Progress: Проверка установленных файлов....Завершено: файлов ",
                    L"Installation completed",
                };
            },
        .lastEvent = Ended(L"completed", 0),
        .absent = {L"Installed file differs from the distribution"},
        .check =
            [](const Place&, const Events& events) {
                const std::wstring verified =
                    FindEvent(events, L"Progress: Проверка установленных файлов....Завершено: файлов ");
                EXPECT_TRUE(verified.ends_with(L", отличий нет; изменено обновлением: 1")) << ToUtf8(verified);
            },
    },
    {
        // The preflight's refusal ends the run before anything is written:
        // not even the install folder is made.
        .name = "ShortDiskEndsWith112AndNothingWritten",
        .arrange = Nothing,
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 112,
        .events =
            [](const Place& at) {
                const std::wstring disk = at.install.substr(0, at.install.find(L"e2e-unattended"));
                return Events{L"Error box (unattended, not shown): Недостаточно места на диске " + disk,
                              L"Installation not started: too little free space on " + disk};
            },
        .lastEvent = Ended(L"not started", 112),
        .absent = {L"Installation started"},
        .check = [](const Place& at, const Events&) { EXPECT_FALSE(PathExists(at.install)); },
        .package =
            [] {
                PackageOptions options;
                options.databaseSize = 12 << 20;
                return options;
            }(),
        .onSmallDisk = true,
    },
    {
        // Where the wizard would offer large fonts and a restart, the log
        // recommends them; nothing is changed, no restart is asked for
        // (under Wine one would end this test too). The driver is left out
        // by default, without its question.
        .name = "SmallFontsAreRecommendedInTheLogWithoutARestart",
        .arrange =
            [](Place&) { return std::static_pointer_cast<void>(std::make_shared<ScreenDpiForNewProcesses>(96)); },
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 0,
        .events =
            [](const Place&) {
                return Events{L"Choices: runtime for Windows 7, Windows 8; driver not chosen; brand standard",
                              L"Large fonts recommended: the screen uses small fonts",
                              L"Final question not asked (unattended)"};
            },
        .lastEvent = Ended(L"completed", 0),
        .absent = {L"Restart", L"SetupChangeFontSize", L"Font size", L"Shutdown privilege",
                   L"Question (unattended, not shown): Подключите"},
        .check =
            [](const Place& at, const Events&) {
                EXPECT_FALSE(PathExists(at.package + L"FTDIDriverInstall\\FTDIDriverInstall.done"));
                DWORD dpi = 0;
                DWORD size = sizeof(dpi);
                ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels",
                                       RRF_RT_REG_DWORD, nullptr, &dpi, &size),
                          ERROR_SUCCESS);
                EXPECT_EQ(dpi, 96u) << "the font size stays";
            },
    },
    {
        .name = "UnknownSwitchEndsWith87",
        .arrange = Nothing,
        .arguments = [](const Place&) { return std::wstring(L"/S /X"); },
        .exitCode = 87,
        .events = [](const Place&) { return Events{L"Refused: Неизвестный ключ командной строки: /X"}; },
        .lastEvent = Ended(L"not started", 87),
        .logInTemp = true,
        .check = [](const Place& at, const Events&) { EXPECT_FALSE(PathExists(at.install)); },
    },
    {
        .name = "RelativeFolderEndsWith87",
        .arrange = Nothing,
        .arguments = [](const Place&) { return std::wstring(L"/s /D=Holter"); },
        .exitCode = 87,
        .events =
            [](const Place&) {
                return Events{
                    L"Refused: Неверное значение ключа командной строки /D=Holter: нужен полный путь, "
                    L"например C:\\Holter."};
            },
        .lastEvent = Ended(L"not started", 87),
        .logInTemp = true,
    },
    {
        .name = "BadDriverValueEndsWith87",
        .arrange = Nothing,
        .arguments = [](const Place&) { return std::wstring(L"-S /DRIVER=maybe"); },
        .exitCode = 87,
        .events =
            [](const Place&) {
                return Events{
                    L"Refused: Неверное значение ключа командной строки /DRIVER=maybe: допустимы YES и NO."};
            },
        .lastEvent = Ended(L"not started", 87),
        .logInTemp = true,
    },
    {
        // The refusal goes where the deployment tool looks for it.
        .name = "BadSwitchWithASoundLogEndsWith87InThatLog",
        .arrange = Nothing,
        .arguments = [](const Place& at) { return Unattended(at, L"/X"); },
        .exitCode = 87,
        .events = [](const Place&) { return Events{L"Refused: Неизвестный ключ командной строки: /X"}; },
        .lastEvent = Ended(L"not started", 87),
        .check = [](const Place& at, const Events&) { EXPECT_FALSE(PathExists(at.install)); },
    },
    {
        // Another installer family's silent switches ask for a run without a
        // person: refused, and without a box.
        .name = "OtherFamiliesSilentSwitchesEndWith87",
        .arrange = Nothing,
        .arguments = [](const Place&) { return std::wstring(L"/VERYSILENT /SUPPRESSMSGBOXES"); },
        .exitCode = 87,
        .events =
            [](const Place&) {
                return Events{
                    L"Refused: Неизвестный ключ командной строки: /VERYSILENT (ключ программ установки другого "
                    L"типа; установка без участия пользователя: /S)"};
            },
        .lastEvent = Ended(L"not started", 87),
        .logInTemp = true,
    },
    {
        .name = "MsiQuietSwitchEndsWith87",
        .arrange = Nothing,
        .arguments = [](const Place& at) { return L"/qn " + FolderSwitch(at.install); },
        .exitCode = 87,
        .events = [](const Place&) { return Events{L"Refused: Неизвестный ключ командной строки: /qn ("}; },
        .lastEvent = Ended(L"not started", 87),
        .logInTemp = true,
        .check = [](const Place& at, const Events&) { EXPECT_FALSE(PathExists(at.install)); },
    },
    {
        // While another installation runs (here the wizard) a second one
        // ends at once.
        .name = "SecondInstallationEndsWith1618",
        .arrange = [](Place& at) { return std::static_pointer_cast<void>(std::make_shared<Wizard>(at.exe)); },
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 1618,
        // The log shows a line break as two blanks.
        .events =
            [](const Place&) {
                return Events{
                    L"Refused: Программа установки комплекса \"Velmora-Холтер\" уже запущена.  Дождитесь "
                    L"окончания той установки."};
            },
        .lastEvent = Ended(L"not started", 1618),
        .check = [](const Place& at, const Events&) { EXPECT_FALSE(PathExists(at.install)); },
    },
    {
        // Nobody reads a box: the help goes into the log.
        .name = "HelpWithUnattendedGoesIntoTheLog",
        .arrange = Nothing,
        .arguments = [](const Place& at) { return Unattended(at, L"/?"); },
        .exitCode = 0,
        .events = [](const Place&) { return Events{L"Help (unattended, not shown): VelmoraSetup.exe [/S]"}; },
        .lastEvent = Ended(L"not started", 0),
        .check =
            [](const Place& at, const Events& events) {
                const std::wstring help = FindEvent(events, L"Help (unattended, not shown): ");
                for (const wchar_t* item : {L"/DRIVER=YES|NO", L"/LOG=<файл>", L" 740 — ", L" 1618 — "})
                    EXPECT_NE(help.find(item), std::wstring::npos) << ToUtf8(item);
                EXPECT_FALSE(PathExists(at.install));
            },
    },
    {
        // The log's folder is made on the way.
        .name = "LogIntoAMissingFolder",
        .arrange =
            [](Place& at) {
                at.log = at.package + L"logs\\клиника 7\\x.log";
                return std::shared_ptr<void>();
            },
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 0,
        .events =
            [](const Place&) {
                return Events{L"Unattended installation: ", L"Installation completed"};
            },
        .lastEvent = Ended(L"completed", 0),
    },
    {
        // A deployment tool's retries: each run copies the driver folder
        // onto the earlier copy, answering the shell's questions itself.
        .name = "DriverThreeTimesIntoOneFolder",
        .arrange = Nothing,
        .arguments = [](const Place& at) { return Unattended(at, L"/DRIVER=YES"); },
        .exitCode = 0,
        .events =
            [](const Place&) {
                Events events;
                for (int run = 0; run < 3; ++run)
                    events.insert(events.end(),
                                  {L"Answer: Yes (unattended: /DRIVER=YES chose the driver)",
                                   L"Progress: Установка драйверов устройства завершена", Ended(L"completed", 0)});
                return events;
            },
        .lastEvent = Ended(L"completed", 0),
        .absent = {L"Not copied by the shell", L"Shell copy of "},
        .check =
            [](const Place& at, const Events&) {
                EXPECT_FALSE(PathExists(at.install + L"FTDIDriverInstall\\FTDIDriverInstall")) << "nested copy";
                EXPECT_TRUE(PathExists(at.package + L"FTDIDriverInstall\\FTDIDriverInstall.done"));
            },
        .runs = 3,
    },
    {
        // A file where the install folder would be.
        .name = "FolderThatCannotBeMadeEndsWith1603",
        .arrange =
            [](Place& at) {
                WriteFileBytes(at.package + L"taken", "a file");
                at.install = at.package + L"taken\\Holter\\";
                return std::shared_ptr<void>();
            },
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 1603,
        .events =
            [](const Place& at) {
                return Events{L"Folder not created: " + at.install, L"Progress: Ошибка при создании каталога!",
                              L"Installation ended early on the failure shown on screen"};
            },
        .lastEvent = Ended(L"error", 1603),
    },
    {
        // The settings folder is a file: the installation stops on the
        // error the wizard would report in a box.
        .name = "ErrorReportEndsWith1603",
        .arrange =
            [](Place& at) {
                CreateDirectoryW(at.install.c_str(), nullptr);
                WriteFileBytes(at.install + L"Settings", "a file");
                return std::shared_ptr<void>();
            },
        .arguments = [](const Place& at) { return Unattended(at); },
        .exitCode = 1603,
        .events =
            [](const Place& at) {
                return Events{L"Installation started. Install folder: " + at.install,
                              L"Error report (unattended, not shown): "};
            },
        .lastEvent = Ended(L"error", 1603),
    },
    {
        // Without the rights that the chosen driver needs, the rights
        // question is answered No: nothing is written.
        .name = "NoRightsEndsWith740",
        .arrange = Nothing,
        .arguments = [](const Place& at) { return Unattended(at, L"/DRIVER=YES"); },
        .exitCode = 740,
        .events =
            [](const Place&) {
                return Events{L"Rights: no file can be created in the fonts folder ",
                              L"Rights: without administrator rights ", L"Question (unattended, not shown): ",
                              L"Answer: No", L"Installation not started: no rights"};
            },
        .lastEvent = Ended(L"not started", 740),
        .absent = {L"Installation started"},
        .check = [](const Place& at, const Events&) { EXPECT_FALSE(PathExists(at.install)); },
        .beforeStart = [](DWORD pid) { WriteFileBytes(RightsProbeOf(pid), "in the way"); },
    },
};

// A row is named by its name in test output.
void PrintTo(const Deployment& row, std::ostream* out) {
    *out << row.name;
}

class Deploy : public InstallerPackageTest, public testing::WithParamInterface<Deployment> {};

TEST_P(Deploy, EndsWithItsCodeAndLogShowingNoWindow) {
    const Deployment& row = GetParam();
    PackageOptions options = row.package;
    std::wstring disk;
    if (row.onSmallDisk) {
        disk = SmallDisk();
        if (disk.empty())
            GTEST_SKIP() << "no small file system mounted at VH_SMALL_DISK (mounting one needs root)";
        install_ = disk + L"e2e-unattended\\Holter\\";
        ASSERT_TRUE(CreateDirectoryW((disk + L"e2e-unattended").c_str(), nullptr));
    }
    Build(options);
    Place at{exe(), temp_.path(), install_, temp_ / L"deploy\\setup.log"};
    CreateDirectoryW((temp_ / L"deploy").c_str(), nullptr);
    const std::shared_ptr<void> held = row.arrange(at);
    const std::set<std::wstring> before = SetupLogsIn(TempFolderPath());
    std::vector<DWORD> probes;
    for (int run = 0; run < row.runs; ++run) {
        SetupRun setup(at.exe, row.arguments(at), [&](DWORD pid) {
            if (row.beforeStart) row.beforeStart(pid);
            probes.push_back(pid);
        });
        EXPECT_EQ(setup.WaitForExit(), row.exitCode) << "run " << run + 1;
        EXPECT_TRUE(setup.WindowsShown().empty()) << "run " << run + 1 << ":\n" << Show(setup.WindowsShown());
    }
    if (row.beforeStart)
        for (DWORD pid : probes) DeleteFileW(RightsProbeOf(pid).c_str());

    std::wstring log = at.log;
    if (row.logInTemp) {
        std::set<std::wstring> logs = SetupLogsIn(TempFolderPath());
        for (const std::wstring& old : before) logs.erase(old);
        ASSERT_EQ(logs.size(), 1u) << "one new setup log in %TEMP%";
        log = TempFolderPath() + *logs.begin();
    }
    const Events events = SetupLogEvents(log);
    if (row.logInTemp) DeleteFileW(log.c_str());
    const std::string dump = Show(events);
    EXPECT_EQ(FirstMissingInOrder(events, row.events(at)), L"") << dump;
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), row.lastEvent) << dump;
    for (const std::wstring& absent : row.absent) EXPECT_EQ(FindEvent(events, absent), L"") << ToUtf8(absent);
    if (row.check) row.check(at, events);
    if (!disk.empty()) RemoveTree(disk + L"e2e-unattended");
}

INSTANTIATE_TEST_SUITE_P(Rows, Deploy, testing::ValuesIn(kDeployments),
                         [](const testing::TestParamInfo<Deployment>& row) {
                             return std::string(row.param.name);
                         });

using UnattendedTest = InstallerPackageTest;

// Without /S a person is there: the bad switch is told in a box (which the
// window watch of the rows above sees).
TEST_F(UnattendedTest, BadSwitchWithoutUnattendedIsToldInABox) {
    Build();
    SetupRun run(exe(), L"/X");
    HWND box = nullptr;
    ASSERT_TRUE(Wizard::WaitUntil(
        [&] {
            ShownWindows::Pump();
            return (box = FindTopWindow(run.ProcessId(), L"#32770")) != nullptr;
        },
        30s));
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)),
              L"Неизвестный ключ командной строки: /X\r\n\r\nСписок ключей: VelmoraSetup.exe /?");
    EXPECT_EQ(TextOf(box), L"Установка комплекса \"Velmora-Холтер\"");
    Wizard::MouseClick(GetDlgItem(box, IDOK));
    EXPECT_EQ(run.WaitForExit(30s), 87u);
    const std::vector<std::wstring>& shown = run.WindowsShown();
    EXPECT_TRUE(
        std::any_of(shown.begin(), shown.end(),
                    [](const std::wstring& window) { return window.find(L"#32770") != std::wstring::npos; }))
        << "the window watch sees a box\n"
        << Show(shown);
}

// While one installer runs, a second one started by a person ends after a
// box with 1618. Once the first has ended, the next starts as usual.
TEST_F(UnattendedTest, SecondInteractiveInstanceIsToldInABoxAndEndsWith1618) {
    Build();
    {
        Wizard first(exe());
        SetupRun second(exe(), L"");
        HWND box = nullptr;
        ASSERT_TRUE(Wizard::WaitUntil(
            [&] { return (box = FindTopWindow(second.ProcessId(), L"#32770")) != nullptr; }, 30s));
        EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), kAlreadyRunning);
        EXPECT_FALSE(FindTopWindowEvenHidden(second.ProcessId(), L"TFMain")) << "no second wizard";
        Wizard::MouseClick(GetDlgItem(box, IDOK));
        EXPECT_EQ(second.WaitForExit(30s), 1618u);

        PostMessageW(first.Main(), WM_CLOSE, 0, 0);
        DWORD code = 1;
        EXPECT_TRUE(first.WaitForExit(10s, &code));
        EXPECT_EQ(code, 0u);
    }
    Wizard next(exe());
    EXPECT_TRUE(next.Main());
}

// Under the system account (as deployment tools run installers) the
// shortcut goes on the desktop every user sees, unasked. Wine runs every
// process as the signed-in user: this runs on Windows only, from a test run
// as LocalSystem.
TEST_F(UnattendedTest, UnderTheSystemAccountTheShortcutGoesOnTheAllUsersDesktop) {
    if (!RunsAsLocalSystem()) GTEST_SKIP() << "not running as LocalSystem (Wine cannot run a process so)";
    Build();
    const RemovedAtEnd shortcut{AllUsersShortcut()};
    const std::wstring log = temp_ / L"system.log";
    SetupRun run(exe(), L"/S " + FolderSwitch(install_) + L" \"/LOG=" + log + L"\"");
    EXPECT_EQ(run.WaitForExit(), 0u);
    const Events events = SetupLogEvents(log);
    EXPECT_EQ(FirstMissingInOrder(
                  events, {L"Running as the system account (LocalSystem)", L"Shortcut: " + AllUsersShortcut()}),
              L"")
        << Show(events);
    EXPECT_TRUE(PathExists(AllUsersShortcut()));
}

// /? lists the switches and exit codes in a box, since a GUI program has no
// console; OK ends the program with 0, having installed nothing.
TEST_F(UnattendedTest, HelpSwitchShowsTheSwitchesAndExitCodesInABox) {
    Build();
    SetupRun run(exe(), L"/?");
    HWND box = nullptr;
    ASSERT_TRUE(
        Wizard::WaitUntil([&] { return (box = FindTopWindow(run.ProcessId(), L"#32770")) != nullptr; }, 30s));
    // Whole on the smallest screen the package supports (1024 x 768, the
    // test desktop's size): its OK button must be there to click.
    RECT bounds{};
    ASSERT_TRUE(GetWindowRect(box, &bounds));
    EXPECT_LE(bounds.bottom, GetSystemMetrics(SM_CYSCREEN)) << "the help box runs off the screen";
    const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
    for (const wchar_t* item : {L"/S", L"/D=<каталог>", L"/DRIVER=YES|NO", L"/RUNTIME=WIN7|WINXP", L"/LOG=<файл>",
                                L"C:\\Holter\\", L"\r\n299 — ", L"\r\n1618 — "})
        EXPECT_NE(text.find(item), std::wstring::npos) << ToUtf8(item) << "\n" << ToUtf8(text);
    Wizard::MouseClick(GetDlgItem(box, IDOK));
    EXPECT_EQ(run.WaitForExit(30s), 0u);
    EXPECT_FALSE(PathExists(install_));
}

}  // namespace

namespace {

// Without /S the switches only fill in the wizard's fields; the person at
// the PC still walks the pages.
TEST_F(UnattendedTest, WithoutUnattendedTheSwitchesPresetTheWizardsFields) {
    Build();
    Wizard w(exe(), L"", L"\"/D=C:\\Preset Holter\" /DRIVER=NO /RUNTIME=WINXP");
    w.MouseClick(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Preset Holter\\");
    ASSERT_TRUE(path) << "the folder field holds /D";
    w.MouseClick(L"Далее");
    ASSERT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    const MessageWindowInfo warning = w.WaitForMessageWindow();
    ASSERT_TRUE(warning.hwnd);
    w.PressOk(warning);
    HWND driver = w.FindControl(L"Button", L"Устанавливать драйвер");
    ASSERT_TRUE(driver);
    EXPECT_FALSE(IsChecked(driver)) << "/DRIVER=NO clears the box";
    HWND runtime = FindWindowExW(GetParent(driver), nullptr, L"ComboBox", nullptr);
    ASSERT_TRUE(runtime);
    EXPECT_EQ(SendMessageW(runtime, CB_GETCURSEL, 0, 0), 1) << "/RUNTIME=WINXP selects \"Windows XP\"";
    PostMessageW(w.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(w.WaitForExit(10s));
}

}  // namespace
