// The installation found and removed from outside, as a deployment tool and
// a person at the PC do it: the entry in the system's list of installed
// programs read from the registry, its commands run as they stand, the
// removal's question answered with the mouse, and what stays on the PC
// checked file by file.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/installer_package.h"
#include "tests/e2e/setup_run.h"
#include "tests/kit/file_util.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/uninstall_entry_reader.h"

namespace {

// A command line split as the system splits it: the program, and the
// arguments after it as they stand.
struct Command {
    std::wstring program;
    std::wstring arguments;
};

Command Split(const std::wstring& line) {
    int count = 0;
    const ScopedLocalMemory args(reinterpret_cast<HLOCAL>(CommandLineToArgvW(line.c_str(), &count)));
    if (count < 1) return {};
    const std::wstring program = reinterpret_cast<wchar_t**>(args.get())[0];
    const size_t end = line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' ');
    return {program, TrimControl(line.substr(end))};
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The files the settings folder holds whose names start with prefix.
std::vector<std::wstring> SettingsFiles(const std::wstring& install, const std::wstring& prefix) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const ScopedFindHandle find(FindFirstFileW((install + L"Settings\\" + prefix + L"*").c_str(), &found));
    if (!find.valid()) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(find.get(), &found));
    return names;
}

std::wstring ReadUtf8(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    return FromUtf8(bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? bytes.substr(3) : bytes);
}

// The paths Windows deletes at its next start (the pending operations'
// sources, without the "\??\" prefix).
std::vector<std::wstring> PendingDeletes() {
    std::vector<wchar_t> value(64 * 1024);
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                     L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, value.data(),
                     &size) != ERROR_SUCCESS)
        return {};
    // Pairs of a source and a target (empty for a delete); an empty target
    // looks like the list's end, so the value's size bounds the walk.
    std::vector<std::wstring> paths;
    const wchar_t* end = value.data() + size / sizeof(wchar_t);
    for (const wchar_t* p = value.data(); p < end && *p;) {
        std::wstring source = p;
        p += source.size() + 1;
        p += wcslen(p) + 1;
        paths.push_back(source.rfind(L"\\??\\", 0) == 0 ? source.substr(4) : source);
    }
    return paths;
}

class RemovalTest : public InstallerPackageTest {
protected:
    void SetUp() override {
        InstallerPackageTest::SetUp();
        Build();
        at_ = {exe(), temp_.path(), install_, temp_ / L"setup.log"};
    }
    void TearDown() override {
        InstallerPackageTest::TearDown();
        DeleteEntry();
    }

    void Install() {
        SetupRun install(exe(), Unattended(at_));
        ASSERT_EQ(install.WaitForExit(), 0u);
        ASSERT_TRUE(EntryExists());
    }

    // A removal run as its entry's command line stands, ended with its code.
    DWORD RunEntry(const wchar_t* value, std::vector<std::wstring>* shown = nullptr) {
        const Command command = Split(EntryText(value));
        SetupRun run(command.program, command.arguments);
        const DWORD code = run.WaitForExit();
        if (shown) *shown = run.WindowsShown();
        return code;
    }

    // The one setup log the runs in between wrote into %TEMP%.
    std::vector<std::wstring> NewTempLogEvents(const std::set<std::wstring>& before) {
        std::set<std::wstring> logs = SetupLogsIn(TempFolderPath());
        for (const std::wstring& old : before) logs.erase(old);
        if (logs.size() != 1) return {};
        const std::wstring log = TempFolderPath() + *logs.begin();
        std::vector<std::wstring> events = SetupLogEvents(log);
        DeleteFileW(log.c_str());
        return events;
    }

    Place at_;
};

// Install, detect, remove and install again, from outside: the entry's
// values as a tool reads them, its quiet command run as it stands (no
// window, exit 0), the program files gone but a changed one, the clinic's
// data, settings and records kept, the entry and the shortcut gone, the
// running removal program left to the restart; a second removal finds
// nothing; a new installation brings everything back.
TEST_F(RemovalTest, InstallDetectRemoveAndReinstallFromOutside) {
    Install();
    EXPECT_EQ(EntryText(L"DisplayVersion"), L"010124") << "the newest package, U010124";
    EXPECT_EQ(EntryText(L"InstallLocation"), install_);
    EXPECT_EQ(EntryText(L"DisplayName"), L"Установка комплекса \"Velmora-Холтер\"");
    EXPECT_EQ(EntryText(L"InstallerVersion").empty(), false);
    EXPECT_EQ(EntryText(L"InstallDate").size(), 8u);
    EXPECT_GT(EntryNumber(L"EstimatedSize"), 64u) << "KiB, the database alone is 64";
    EXPECT_EQ(EntryNumber(L"NoModify"), 1u);
    EXPECT_EQ(EntryNumber(L"NoRepair"), 1u);
    const std::wstring program = install_ + L"Uninstall\\VelmoraSetup.exe";
    EXPECT_EQ(Split(EntryText(L"QuietUninstallString")).program, program);
    EXPECT_EQ(Split(EntryText(L"UninstallString")).program, program);
    EXPECT_EQ(EntryText(L"DisplayIcon"), program);
    ASSERT_TRUE(Exists(DesktopShortcut()));

    // A program file the clinic changed, and a file of its own.
    WriteFileBytes(install_ + L"udf\\PosStr.Dll", "changed by the clinic");
    WriteFileBytes(install_ + L"udf\\clinic notes.txt", "ours");
    const std::set<std::wstring> before = SetupLogsIn(TempFolderPath());
    std::vector<std::wstring> shown;
    EXPECT_EQ(RunEntry(L"QuietUninstallString", &shown), 0u);
    EXPECT_TRUE(shown.empty()) << Show(shown);
    const std::vector<std::wstring> events = NewTempLogEvents(before);
    EXPECT_NE(FindEvent(events, L"Removal ended: Программы комплекса \"Velmora-Холтер\" удалены."), L"")
        << Show(events);

    for (const wchar_t* gone : {L"gbak.exe", L"udf\\Compare.Dll", L"intl\\fbintl.dll"})
        EXPECT_FALSE(Exists(install_ + gone)) << ToUtf8(gone);
    EXPECT_FALSE(Exists(install_ + L"intl")) << "a folder left empty goes";
    for (const wchar_t* kept : {L"DTAfb\\V12.FDB", L"Settings\\holter.ini", L"Settings\\lastnum.dta",
                                L"udf\\PosStr.Dll", L"udf\\clinic notes.txt"})
        EXPECT_TRUE(Exists(install_ + kept)) << ToUtf8(kept);
    EXPECT_EQ(SettingsFiles(install_, L"VelmoraSetup record ").size(), 2u) << "the record and its page";
    EXPECT_FALSE(EntryExists());
    EXPECT_FALSE(Exists(DesktopShortcut()));
    const std::vector<std::wstring> pending = PendingDeletes();
    EXPECT_NE(std::find(pending.begin(), pending.end(), program), pending.end())
        << "the running removal program goes at the restart";

    const std::vector<std::wstring> removals = SettingsFiles(install_, L"VelmoraSetup removal ");
    ASSERT_EQ(removals.size(), 1u);
    const std::wstring record = ReadUtf8(install_ + L"Settings\\" + removals[0]);
    EXPECT_NE(record.find(L"\r\nudf\\PosStr.Dll\tоставлен: изменён после установки\r\n"), std::wstring::npos)
        << ToUtf8(record);
    EXPECT_NE(record.find(L"\r\ngbak.exe\tудалён\r\n"), std::wstring::npos) << ToUtf8(record);
    EXPECT_NE(record.find(L"\r\nDTAfb\\V12.FDB\tоставлен: база данных клиники\r\n"), std::wstring::npos);

    // What the restart does; then the distribution's installer finds
    // nothing left and says so.
    ASSERT_TRUE(DeleteFileW(program.c_str()));
    ASSERT_TRUE(RemoveDirectoryW((install_ + L"Uninstall").c_str()));
    SetupRun again(exe(), L"/UNINSTALL /S " + FolderSwitch(install_) + L" \"/LOG=" + at_.log + L"\"");
    EXPECT_EQ(again.WaitForExit(), 0u);
    const std::vector<std::wstring> second = SetupLogEvents(at_.log);
    EXPECT_NE(FindEvent(second, L"Removal ended: Удалять нечего: файлов этой установки в каталоге уже нет."), L"")
        << Show(second);
    EXPECT_EQ(SettingsFiles(install_, L"VelmoraSetup removal ").size(), 2u);

    Install();
    EXPECT_TRUE(Exists(install_ + L"gbak.exe"));
    EXPECT_TRUE(Exists(program));
    EXPECT_EQ(EntryText(L"InstallLocation"), install_);
}

// A person removing from "Programs and Features": one question, No by
// default; No changes nothing. Yes removes and a box tells the result.
TEST_F(RemovalTest, TheQuestionsNoChangesNothingAndYesEndsWithTheResult) {
    Install();
    const Command command = Split(EntryText(L"UninstallString"));
    {
        SetupRun run(command.program, command.arguments);
        HWND box = nullptr;
        ASSERT_TRUE(Wizard::WaitUntil([&] {
            ShownWindows::Pump();
            return (box = FindTopWindow(run.ProcessId(), L"#32770")) != nullptr;
        }));
        EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF))
                      .rfind(L"Удалить программы комплекса \"Velmora-Холтер\" из каталога " + install_ + L"?", 0),
                  0u)
            << ToUtf8(TextOf(GetDlgItem(box, 0xFFFF)));
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON) << "No is the default";
        Wizard::MouseClick(GetDlgItem(box, IDNO));
        EXPECT_EQ(run.WaitForExit(30s), 0u);
    }
    EXPECT_TRUE(EntryExists());
    EXPECT_TRUE(Exists(install_ + L"gbak.exe"));
    EXPECT_TRUE(Exists(DesktopShortcut()));
    EXPECT_TRUE(SettingsFiles(install_, L"VelmoraSetup removal ").empty());

    SetupRun run(command.program, command.arguments);
    const auto nextBox = [&](HWND after) {
        HWND box = nullptr;
        Wizard::WaitUntil([&] {
            ShownWindows::Pump();
            box = FindTopWindow(run.ProcessId(), L"#32770");
            return box != nullptr && box != after;
        });
        return box;
    };
    HWND question = nextBox(nullptr);
    ASSERT_NE(question, nullptr);
    Wizard::MouseClick(GetDlgItem(question, IDYES));
    HWND result = nextBox(question);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(result, 0xFFFF)).rfind(L"Программы комплекса \"Velmora-Холтер\" удалены.", 0), 0u)
        << ToUtf8(TextOf(GetDlgItem(result, 0xFFFF)));
    Wizard::MouseClick(GetDlgItem(result, IDOK));
    EXPECT_EQ(run.WaitForExit(30s), 0u);
    EXPECT_FALSE(EntryExists());
    EXPECT_FALSE(Exists(install_ + L"gbak.exe"));
}

// A record that is missing or cannot be read: nothing is removed, the log
// says why, and the code is 1605.
TEST_F(RemovalTest, WithoutAReadableRecordNothingIsRemovedAndTheCodeIs1605) {
    Install();
    const std::wstring settings = install_ + L"Settings\\";
    const std::wstring record = settings + SettingsFiles(install_, L"VelmoraSetup record ")[0];
    const std::wstring txt = record.substr(0, record.size() - 4) + L"txt";
    const std::string good = ReadFileBytes(txt);
    struct Case {
        const char* name;
        std::string bytes;  // empty: no record at all
        std::wstring why;   // the start of the log's reason
    };
    const Case cases[] = {
        {"missing", "",
         L"Removal ended: Удаление невозможно: в каталоге " + settings + L" нет протокола установки"},
        {"not UTF-8", "\xCF\xF0\xEE\xF2\xEE\xEA\xEE\xEB", L"Removal ended: Удаление невозможно: протокол " + txt},
        {"cut short", good.substr(0, good.find("\r\n\r\n")),
         L"Removal ended: Удаление невозможно: протокол " + txt + L" не прочитан: протокол не полон"},
        {"a digest damaged", good.substr(0, good.rfind('\t', good.size() - 4) - 3) + "zz\tOK\r\n",
         L"Removal ended: Удаление невозможно: протокол " + txt + L" не прочитан: строка "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(txt.c_str());
        if (!c.bytes.empty()) WriteFileBytes(txt, c.bytes);
        DeleteFileW(at_.log.c_str());
        SetupRun run(install_ + L"Uninstall\\VelmoraSetup.exe",
                     L"/UNINSTALL /S " + FolderSwitch(install_) + L" \"/LOG=" + at_.log + L"\"");
        EXPECT_EQ(run.WaitForExit(), 1605u);
        const std::vector<std::wstring> events = SetupLogEvents(at_.log);
        EXPECT_NE(FindEvent(events, c.why), L"") << Show(events);
        EXPECT_EQ(events.back(), L"Run ended: not started (exit code 1605)");
        EXPECT_TRUE(Exists(install_ + L"gbak.exe"));
        EXPECT_TRUE(EntryExists());
        EXPECT_TRUE(Exists(DesktopShortcut()));
        EXPECT_TRUE(SettingsFiles(install_, L"VelmoraSetup removal ").empty());
    }
}

}  // namespace
