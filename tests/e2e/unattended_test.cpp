// The real installer started unattended (/S), as a deployment tool starts
// it: each run's exit code and setup log, and that no window or box shows
// while it runs; the refusals before anything starts (a bad switch,
// another installation running) and the /? box.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/installer_package.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/small_disk.h"
#include "tests/kit/temp_folder.h"

namespace {

const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
const std::wstring kAlreadyRunning =
    L"Программа установки комплекса \"Velmora-Холтер\" уже запущена.\r\nДождитесь окончания той установки.";

struct WindowSearch {
    DWORD pid;
    std::vector<std::wstring> visible;
};

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd)) s->visible.push_back(Describe(hwnd));
    return TRUE;
}

// The visible top-level windows of process pid, described.
std::vector<std::wstring> VisibleTopWindows(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.visible;
}

// The installer started with arguments in its own folder, watched until it
// ends: every visible top-level window it shows meanwhile is noted.
class SetupRun {
public:
    SetupRun(const std::wstring& exe, const std::wstring& arguments) {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + exe + L"\" " + arguments;
        const std::wstring folder = FolderOf(exe);
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                            &pi))
            throw std::runtime_error("cannot start " + ToUtf8(command));
        process_.reset(pi.hProcess);
        CloseHandle(pi.hThread);
        pid_ = pi.dwProcessId;
    }
    ~SetupRun() {
        if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 99);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;

    DWORD ProcessId() const { return pid_; }

    // The exit code; the run is ended with 99 after timeout.
    DWORD WaitForExit(std::chrono::milliseconds timeout = 180s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (WaitForSingleObject(process_.get(), 10) == WAIT_TIMEOUT) {
            for (const std::wstring& window : VisibleTopWindows(pid_)) seen_.insert(window);
            if (std::chrono::steady_clock::now() > end) {
                TerminateProcess(process_.get(), 99);
                WaitForSingleObject(process_.get(), 5000);
            }
        }
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        return code;
    }
    // Every visible top-level window seen while it ran.
    const std::set<std::wstring>& WindowsSeen() const { return seen_; }

private:
    ScopedHandle process_;
    DWORD pid_ = 0;
    std::set<std::wstring> seen_;
};

std::string Show(const std::set<std::wstring>& windows) {
    std::string text;
    for (const std::wstring& window : windows) text += ToUtf8(window) + "; ";
    return text;
}

std::wstring TempFolderPath() {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

bool Contains(const std::vector<std::wstring>& events, const std::wstring& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

// A folder as a switch value: quoted, without the trailing "\" that would
// escape the closing quote.
std::wstring FolderSwitch(const std::wstring& folder) {
    return L"\"/D=" + folder.substr(0, folder.size() - 1) + L"\"";
}

class UnattendedTest : public InstallerPackageTest {
protected:
    std::wstring log() const { return temp_ / L"deploy\\setup.log"; }

    // Runs the installer unattended into install_ with more switches, its
    // log in log(); returns the exit code. No window may show meanwhile.
    DWORD RunUnattended(const std::wstring& more = L"") {
        CreateDirectoryW((temp_ / L"deploy").c_str(), nullptr);
        SetupRun run(exe(), L"/S " + FolderSwitch(install_) + L" \"/LOG=" + log() + L"\" " + more);
        const DWORD code = run.WaitForExit();
        EXPECT_TRUE(run.WindowsSeen().empty()) << Show(run.WindowsSeen());
        return code;
    }
    std::vector<std::wstring> Events() const { return SetupLogEvents(log()); }
};

// The driver chosen by its switch: its question is answered Yes in the log;
// the files are those the wizard leaves; no window or box shows meanwhile.
TEST_F(UnattendedTest, CleanInstallEndsWithZeroShowingNoWindowAndLeavesTheWizardsFiles) {
    Build();
    EXPECT_EQ(RunUnattended(L"/DRIVER=YES"), 0u);

    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\holter.ini"),
              "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\lastnum.dta").size(), 14u);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\V12.FDB"), ReadFileBytes(temp_ / L"DTAfb\\V12.FDB"));
    EXPECT_EQ(ReadFileBytes(install_ + L"gbak.exe"), StandInContent(L"Firebird\\gbak.exe"));
    EXPECT_EQ(ReadFileBytes(install_ + L"udf\\Compare.Dll"), StandInContent(L"UDF\\Compare.Dll"));
    EXPECT_TRUE(PathExists(temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.done")) << "the driver installer ran";
    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done")) << "the newest update script ran";
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos);
    EXPECT_TRUE(PathExists(install_ + L"Shell.exe"));
    EXPECT_TRUE(PathExists(DesktopShortcut()));

    const std::vector<std::wstring> events = Events();
    for (const std::wstring& event : {
             L"Installation started. Install folder: " + install_ + L"; installer folder: " + temp_.path(),
             std::wstring(L"Choices: runtime for Windows 7, Windows 8; driver chosen; brand standard"),
             std::wstring(L"Progress: Копирование файла V12.FDB....Завершено"),
             std::wstring(L"Progress: Копирование файла SDecision.Dll....Завершено"),
             L"Question (unattended, not shown): " + kDriverQuestion,
             std::wstring(L"Answer: Yes (unattended: /DRIVER=YES chose the driver)"),
             std::wstring(L"Progress: Установка драйверов устройства завершена"),
             std::wstring(L"Release level recorded: 010124"),
             std::wstring(L"Installation completed"),
             std::wstring(L"Final question not asked (unattended)"),
         })
        EXPECT_TRUE(Contains(events, event)) << ToUtf8(event) << "\n" << ReadFileBytes(log());
    EXPECT_FALSE(Contains(events, L"Large fonts recommended")) << "120 dots per inch are large fonts";
    // The installation record is kept unattended too.
    const std::wstring verified =
        FindEvent(events, L"Progress: Проверка установленных файлов....Завершено: файлов ");
    EXPECT_NE(verified.find(L", отличий нет"), std::wstring::npos) << ReadFileBytes(log());
    const std::wstring record = FindEvent(events, L"Installation record: ").substr(21);
    EXPECT_EQ(record.rfind(install_ + L"Settings\\VelmoraSetup record ", 0), 0u) << ToUtf8(record);
    EXPECT_TRUE(PathExists(record)) << ToUtf8(record);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"Run ended: completed (exit code 0)");
}

// An update script's non-zero code: the run goes on to its end, the level
// is recorded, and the exit code says that steps failed.
TEST_F(UnattendedTest, FailingUpdateScriptEndsWithTheStepsFailedCode) {
    Build();
    WriteFileBytes(temp_ / L"backup\\U010124\\Install.cmd", "@echo off\r\nexit /b 3\r\n");
    EXPECT_EQ(RunUnattended(), 299u);

    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos);
    EXPECT_TRUE(PathExists(DesktopShortcut()));
    const std::vector<std::wstring> events = Events();
    EXPECT_TRUE(Contains(events, L"Install.cmd of " + install_ + L"backup\\U010124 ended with exit code 3"));
    EXPECT_TRUE(Contains(events, L"Progress: Пакет обновления <U010124>: Install.cmd завершился с кодом 3"));
    EXPECT_TRUE(Contains(events, L"Installation completed; problems shown on screen: 1"));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"Run ended: completed (exit code 299)") << ReadFileBytes(log());
}

// The preflight's refusal ends the run before anything is written: not
// even the install folder is made.
TEST_F(UnattendedTest, ShortDiskEndsWith112AndNothingWritten) {
    const std::wstring disk = SmallDisk();
    if (disk.empty()) GTEST_SKIP() << "no small file system mounted at VH_SMALL_DISK (mounting one needs root)";
    PackageOptions options;
    options.databaseSize = 12 << 20;
    Build(options);
    install_ = disk + L"e2e-unattended\\Holter\\";
    ASSERT_TRUE(CreateDirectoryW((disk + L"e2e-unattended").c_str(), nullptr));

    EXPECT_EQ(RunUnattended(), 112u);
    EXPECT_FALSE(PathExists(install_));
    const std::vector<std::wstring> events = Events();
    const std::wstring box = L"Error box (unattended, not shown): Недостаточно места на диске " + disk;
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const std::wstring& e) {
        return e.starts_with(box);
    })) << ReadFileBytes(log());
    EXPECT_TRUE(Contains(events, L"Installation not started: too little free space on " + disk));
    EXPECT_FALSE(std::any_of(events.begin(), events.end(),
                             [](const std::wstring& e) { return e.starts_with(L"Installation started"); }));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"Run ended: not started (exit code 112)");
    RemoveTree(disk + L"e2e-unattended");
}

// Small fonts: where the wizard would offer large fonts and a restart, the
// log recommends them; nothing is changed, no restart is asked for (under
// Wine one would end this test too), and the run ends with 0. The driver
// is left out by default, without its question.
TEST_F(UnattendedTest, SmallFontsEndWithZeroAndTheRecommendationInTheLogWithoutARestart) {
    Build();
    const ScreenDpiForNewProcesses smallFonts(96);
    EXPECT_EQ(RunUnattended(), 0u);

    const std::vector<std::wstring> events = Events();
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const std::wstring& e) {
        return e.starts_with(L"Large fonts recommended: ");
    })) << ReadFileBytes(log());
    for (const wchar_t* absent : {L"Restart", L"SetupChangeFontSize", L"Font size", L"Shutdown privilege",
                                  L"Question (unattended, not shown): Подключите"})
        EXPECT_FALSE(std::any_of(events.begin(), events.end(), [&](const std::wstring& e) {
            return e.find(absent) != std::wstring::npos;
        })) << ToUtf8(absent);
    EXPECT_TRUE(Contains(events, L"Choices: runtime for Windows 7, Windows 8; driver not chosen; brand standard"));
    EXPECT_FALSE(PathExists(temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.done"));
    EXPECT_TRUE(PathExists(DesktopShortcut()));
    DWORD dpi = 0;
    DWORD size = sizeof(dpi);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                           &dpi, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(dpi, 96u) << "the font size stays";
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"Run ended: completed (exit code 0)");
}

// The setup log a run left in the temporary folder, its events.
std::vector<std::wstring> NewTempLog(const std::set<std::wstring>& before) {
    std::set<std::wstring> logs = SetupLogsIn(TempFolderPath());
    for (const std::wstring& old : before) logs.erase(old);
    if (logs.size() != 1) return {};
    const std::wstring path = TempFolderPath() + *logs.begin();
    std::vector<std::wstring> events = SetupLogEvents(path);
    DeleteFileW(path.c_str());
    return events;
}

struct BadLine {
    const wchar_t* arguments;
    const wchar_t* refusal;
};

// A bad command line is refused with 87 before anything is written; /LOG
// of a bad line is not trusted, so the log is the usual one.
TEST_F(UnattendedTest, BadSwitchEndsWith87WithoutAWindowAndSaysWhyInTheLog) {
    Build();
    const BadLine cases[] = {
        {L"/S /X", L"Refused: Неизвестный ключ командной строки: /X"},
        {L"/s /D=Holter /LOG=C:\\never.log",
         L"Refused: Неверное значение ключа командной строки /D=Holter: нужен полный путь, например C:\\Holter."},
        {L"-S /DRIVER=maybe",
         L"Refused: Неверное значение ключа командной строки /DRIVER=maybe: допустимы YES и NO."},
    };
    for (const BadLine& c : cases) {
        const std::set<std::wstring> before = SetupLogsIn(TempFolderPath());
        SetupRun run(exe(), c.arguments);
        EXPECT_EQ(run.WaitForExit(30s), 87u) << ToUtf8(c.arguments);
        EXPECT_TRUE(run.WindowsSeen().empty()) << Show(run.WindowsSeen());
        const std::vector<std::wstring> events = NewTempLog(before);
        ASSERT_FALSE(events.empty()) << "one new setup log in %TEMP% for " << ToUtf8(c.arguments);
        EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const std::wstring& e) {
            return e.starts_with(c.refusal);
        })) << ToUtf8(c.arguments);
        EXPECT_EQ(events.back(), L"Run ended: not started (exit code 87)");
    }
    EXPECT_FALSE(PathExists(L"C:\\never.log"));
    EXPECT_FALSE(PathExists(install_));
}

// Without /S a person is there: the bad switch is told in a box.
TEST_F(UnattendedTest, BadSwitchWithoutUnattendedIsToldInABox) {
    Build();
    SetupRun run(exe(), L"/X");
    HWND box = nullptr;
    ASSERT_TRUE(
        Wizard::WaitUntil([&] { return (box = FindTopWindow(run.ProcessId(), L"#32770")) != nullptr; }, 30s));
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)),
              L"Неизвестный ключ командной строки: /X\r\n\r\nСписок ключей: VelmoraSetup.exe /?");
    EXPECT_EQ(TextOf(box), L"Установка комплекса \"Velmora-Холтер\"");
    Wizard::MouseClick(GetDlgItem(box, IDOK));
    EXPECT_EQ(run.WaitForExit(30s), 87u);
}

// While one installer runs, a second one ends: unattended with 1618 and no
// window, interactive after a box. Once the first has ended, the next
// starts as usual.
TEST_F(UnattendedTest, SecondInstanceEndsWith1618) {
    Build();
    {
        Wizard first(exe());
        ASSERT_FALSE(VisibleTopWindows(first.ProcessId()).empty()) << "the window search sees a running wizard";

        const std::set<std::wstring> before = SetupLogsIn(TempFolderPath());
        EXPECT_EQ(RunUnattended(), 1618u);
        EXPECT_FALSE(PathExists(install_));
        const std::vector<std::wstring> events = Events();
        // The log shows a line break as two blanks.
        EXPECT_TRUE(Contains(events,
                             L"Refused: Программа установки комплекса \"Velmora-Холтер\" уже запущена.  Дождитесь "
                             L"окончания той установки."))
            << ReadFileBytes(log());
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), L"Run ended: not started (exit code 1618)");

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
        for (const std::wstring& name : SetupLogsIn(TempFolderPath()))
            if (!before.contains(name)) DeleteFileW((TempFolderPath() + name).c_str());
    }
    Wizard next(exe());
    EXPECT_TRUE(next.Main());
}

// /? lists the switches and exit codes in a box, since a GUI program has no
// console; OK ends the program with 0, having installed nothing.
TEST_F(UnattendedTest, HelpSwitchShowsTheSwitchesAndExitCodesInABox) {
    Build();
    SetupRun run(exe(), L"/?");
    HWND box = nullptr;
    ASSERT_TRUE(
        Wizard::WaitUntil([&] { return (box = FindTopWindow(run.ProcessId(), L"#32770")) != nullptr; }, 30s));
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
