// The installation driven through the real installer on a generated package.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/error_report.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/database_swap.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/driver_warning.h"
#include "tests/e2e/installer_package.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"

namespace {

using namespace std::string_literals;

const std::wstring kFinalQuestion = L"Установка завершена. Выйти из программы установки?";
const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";

const std::vector<std::wstring> kModernRuntimeLines = {
    L"Копирование файла aliases.conf....Завершено", L"Копирование файла firebird.conf....Завершено",
    L"Копирование файла fbclient.Dll....Завершено", L"Копирование файла ib_util.Dll....Завершено",
    L"Копирование файла icudt30.Dll....Завершено",  L"Копирование файла icuin30.Dll....Завершено",
    L"Копирование файла icuuc30.Dll....Завершено",  L"Копирование файла msvcp80.Dll....Завершено",
    L"Копирование файла msvcr80.Dll....Завершено",  L"Копирование файла firebird.msg....Завершено",
    L"Копирование файла gbak.exe....Завершено",     L"Копирование файла gds32.dll....Завершено",
};

const std::vector<std::wstring> kLinesAfterRuntime = {
    L"Копирование файла fbintl.conf....Завершено",   L"Копирование файла fbintl.dll....Завершено",
    L"Копирование файла fbudf.dll....Завершено",     L"Копирование файла ib_udf.dll....Завершено",
    L"Копирование файла fbudf.sql....Завершено",     L"Копирование файла ib_udf.sql....Завершено",
    L"Копирование файла ib_udf2.sql....Завершено",   L"Копирование файла Compare.Dll....Завершено",
    L"Копирование файла PosStr.Dll....Завершено",    L"Копирование файла ProcessingECG.Dll....Завершено",
    L"Копирование файла SDecision.Dll....Завершено",
};

std::vector<std::wstring> Lines(std::initializer_list<std::vector<std::wstring>> parts) {
    std::vector<std::wstring> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct ChildSearch {
    std::wstring_view cls;
    const wchar_t* caption;  // nullptr: any
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (ClassOf(hwnd) != s->cls || (s->caption && TextOf(hwnd) != s->caption)) return TRUE;
    s->found = hwnd;
    return FALSE;
}

// A control of that class and caption, shown or not (the Windows choice
// list is hidden).
HWND AnyChild(HWND parent, std::wstring_view cls, const wchar_t* caption = nullptr) {
    ChildSearch s{cls, caption, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The progress list's lines, read from the other process.
std::vector<std::wstring> LogLines(const Wizard& w) {
    HWND list = AnyChild(w.Main(), L"ListBox");
    return list ? ListLines(list) : std::vector<std::wstring>{};
}

constexpr std::wstring_view kVerifiedBefore = L"Проверка установленных файлов....Завершено: файлов ";
// The last progress line, every installed file read back and none differing,
// with its file count shown as "N".
const std::wstring kVerifiedLine = std::wstring(kVerifiedBefore) + L"N, отличий нет";

// The progress lines that do not depend on the system: without those of
// fonts, and with the verification's file count (which counts the fonts)
// shown as "N".
std::vector<std::wstring> StableLines(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> kept;
    for (std::wstring line : lines) {
        if (line.rfind(L"Шрифт <", 0) == 0) continue;
        if (line.rfind(kVerifiedBefore, 0) == 0)
            line.replace(kVerifiedBefore.size(), line.find(L',', kVerifiedBefore.size()) - kVerifiedBefore.size(),
                         L"N");
        kept.push_back(line);
    }
    return kept;
}

// The installation records in the install folder's Settings.
std::vector<std::wstring> RecordsIn(const std::wstring& install) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((install + L"Settings\\VelmoraSetup record *.txt").c_str(), &entry));
    if (!find) return found;
    do found.push_back(install + L"Settings\\" + entry.cFileName);
    while (FindNextFileW(find.get(), &entry));
    return found;
}

struct LinkContent {
    std::wstring target, workingFolder, arguments, description;
};

// A shortcut's fields, read back through the shell's own link object.
LinkContent ReadLink(const std::wstring& path) {
    LinkContent content;
    const HRESULT com = CoInitialize(nullptr);
    {
        Microsoft::WRL::ComPtr<IShellLinkW> link;
        Microsoft::WRL::ComPtr<IPersistFile> file;
        wchar_t text[1024];
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
            SUCCEEDED(link.As(&file)) && SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) content.target = text;
            if (SUCCEEDED(link->GetWorkingDirectory(text, 1024))) content.workingFolder = text;
            if (SUCCEEDED(link->GetArguments(text, 1024))) content.arguments = text;
            if (SUCCEEDED(link->GetDescription(text, 1024))) content.description = text;
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return content;
}

// The setup log that the installer writes in the temporary folder during
// the object's life: the one log that was not there when it was made.
class NewSetupLog {
public:
    NewSetupLog() : before_(SetupLogsIn(Folder())) {}
    // Removes the log the test read.
    ~NewSetupLog() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    NewSetupLog(const NewSetupLog&) = delete;
    NewSetupLog& operator=(const NewSetupLog&) = delete;

    // The new log's events; empty when there is not exactly one new log.
    std::vector<std::wstring> Events() {
        std::set<std::wstring> logs = SetupLogsIn(Folder());
        for (const std::wstring& old : before_) logs.erase(old);
        EXPECT_EQ(logs.size(), 1u) << "one new setup log";
        if (logs.size() != 1) return {};
        path_ = Folder() + *logs.begin();
        return SetupLogEvents(path_);
    }

private:
    static std::wstring Folder() {
        wchar_t folder[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, folder);
        return folder;
    }

    const std::set<std::wstring> before_;
    std::wstring path_;
};

// A package with the installer beside it, and the folder to install into.
class InstallationTest : public InstallerPackageTest {
protected:
    // Starts the installation, answers the driver question with
    // driverAnswer and returns the next box.
    MessageBoxInfo Install(const Wizard& w, int driverAnswer = IDNO) {
        w.Click(L"Начать установку");
        return AnswerDriverQuestion(w, driverAnswer);
    }
    static MessageBoxInfo AnswerDriverQuestion(const Wizard& w, int driverAnswer = IDNO) {
        MessageBoxInfo box = w.WaitForMessageBox(60s);
        if (box.text != kDriverQuestion) return box;
        w.Answer(box, driverAnswer);
        return w.WaitForMessageBox(60s);
    }
};

// The program's version as Windows reads it from the file, "1.2.3.4".
std::wstring FileVersionOf(const std::wstring& path) {
    DWORD handle = 0;
    std::vector<unsigned char> data(GetFileVersionInfoSizeW(path.c_str(), &handle));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) || !fixed)
        return L"";
    return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

// The window's answer when Windows asks whether the session may end.
DWORD_PTR AskSessionEnd(HWND window) {
    DWORD_PTR answer = 2;
    EXPECT_TRUE(
        SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 60000, &answer));
    return answer;
}

TEST_F(InstallationTest, FullRunShowsTheDocumentedLinesAndLeavesOnYes) {
    Build();
    const std::vector<std::wstring> fontLines = ExpectedFontLines();
    NewSetupLog log;
    Wizard w(exe());
    GoToOptions(w, install_);
    const MessageBoxInfo box = Install(w, IDYES);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, kFinalQuestion);
    const std::vector<std::wstring> shown = LogLines(w);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(
        std::vector<std::wstring>(shown.begin(), shown.end() - 1),
        Lines({{L"Создание настроечных файлов....Завершено", L"Каталог <DTAfb> создан...",
                L"Копирование файла V12.FDB....Завершено"},
               kModernRuntimeLines,
               kLinesAfterRuntime,
               fontLines,
               {L"Началась установка драйверов устройства...", L"Установка драйверов устройства завершена"}}));
    EXPECT_EQ(StableLines({shown.back()}), std::vector<std::wstring>{kVerifiedLine});
    EXPECT_TRUE(IsWindowEnabled(w.FindControl(L"Button", L"Выход")));

    w.Answer(box, IDYES);
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\holter.ini"),
              "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\lastnum.dta").size(), 14u);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\V12.FDB"), ReadFileBytes(temp_ / L"DTAfb\\V12.FDB"));
    EXPECT_EQ(ReadFileBytes(install_ + L"udf\\Compare.Dll"), StandInContent(L"UDF\\Compare.Dll"));
    EXPECT_TRUE(PathExists(temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.done")) << "the driver installer ran";
    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done")) << "the newest update script ran";
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos);
    EXPECT_TRUE(PathExists(install_ + L"Shell.exe"));
    EXPECT_TRUE(PathExists(DesktopShortcut()));

    // The run's setup log, in the temporary folder: its header, the choices,
    // every line as shown, the boxes with their answers, the exit codes and
    // how the run ended.
    const std::vector<std::wstring> events = log.Events();
    ASSERT_GE(events.size(), 3u);
    const std::wstring version = FileVersionOf(exe());
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(events[0], L"Velmora-Холтер setup " + version + L", " + exe());
    EXPECT_EQ(events[1].rfind(L"Windows ", 0), 0u);
    EXPECT_NE(events[1].find(L" build "), std::wstring::npos);
    EXPECT_NE(events[1].find(L"; elevated: "), std::wstring::npos);
    EXPECT_EQ(events[2], L"Installer folder: " + temp_.path());
    // In the order of the run; the driver's two lines and the verification
    // come last on screen.
    ASSERT_GE(shown.size(), 3u);
    const std::wstring driverStarted = shown[shown.size() - 3], driverDone = shown[shown.size() - 2];
    std::vector<std::wstring> expected = {
        L"Installation started. Install folder: " + install_ + L"; installer folder: " + temp_.path(),
        L"Choices: runtime for Windows 7, Windows 8; driver chosen; brand standard",
    };
    for (auto line = shown.begin(); line != shown.end() - 3; ++line) expected.push_back(L"Progress: " + *line);
    for (const std::wstring& event : {
             L"Message box (question): " + kDriverQuestion,
             L"Answer: Yes"s,
             L"Progress: " + driverStarted,
             L"Driver installer ended with exit code 0"s,
             L"Progress: " + driverDone,
             L"Install.cmd of " + install_ + L"backup\\U010124 ended with exit code 0",
             L"Release level recorded: 010124"s,
             L"Progress: " + shown.back(),
             L"Installation completed"s,
             L"Message box (question): " + kFinalQuestion,
             L"Answer: Yes"s,
             L"Run ended: completed (exit code 0)"s,
         })
        expected.push_back(event);
    EXPECT_EQ(FirstEventMissingInOrder(events, expected), L"");
    EXPECT_EQ(events.back(), L"Run ended: completed (exit code 0)");
    const std::wstring shortcut = FindEvent(events, L"Shortcut: ").substr(10);
    EXPECT_TRUE(PathExists(shortcut)) << ToUtf8(shortcut);

    // The installation record beside the settings: one per run, naming the
    // installer's version; every file the line counts is in it as verified,
    // the driver folder's subfolders included.
    const std::vector<std::wstring> records = RecordsIn(install_);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(FindEvent(events, L"Installation record: "), L"Installation record: " + records[0]);
    const std::wstring record = FromUtf8(ReadFileBytes(records[0]));
    EXPECT_NE(record.find(L"\r\nВерсия программы установки: " + version + L"\r\n"), std::wstring::npos);
    size_t verified = 0;
    for (size_t at = record.find(L"\tOK\r\n"); at != std::wstring::npos; at = record.find(L"\tOK\r\n", at + 1))
        ++verified;
    EXPECT_EQ(shown.back(), std::wstring(kVerifiedBefore) + std::to_wstring(verified) + L", отличий нет");
    EXPECT_NE(record.find(L"\r\nFTDIDriverInstall\\amd64\\ftdibus.sys\t"), std::wstring::npos);
}

// The desktop shortcut, the update script that ran alone, the driver
// answered No, in an install folder whose name has a blank.
TEST_F(InstallationTest, FolderWithBlanksGetsItsScriptShortcutAndNoDriver) {
    install_ = temp_ / L"Program Files\\Holter\\";
    ASSERT_TRUE(CreateDirectoryW((temp_ / L"Program Files").c_str(), nullptr));
    Build();
    Wizard w(exe());
    GoToOptions(w, install_);
    const MessageBoxInfo box = Install(w, IDNO);
    ASSERT_EQ(box.text, kFinalQuestion);
    EXPECT_EQ(StableLines(LogLines(w)),
              Lines({{L"Создание настроечных файлов....Завершено", L"Каталог <DTAfb> создан...",
                      L"Копирование файла V12.FDB....Завершено"},
                     kModernRuntimeLines,
                     kLinesAfterRuntime,
                     {kVerifiedLine}}))
        << "no driver lines after No";
    w.Answer(box, IDYES);
    ASSERT_TRUE(w.WaitForExit(10s));

    EXPECT_FALSE(PathExists(temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.done"));
    // 1 January 2024 is newer than 25 September 2018.
    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done"));
    EXPECT_FALSE(PathExists(install_ + L"backup\\U250918.done")) << "only the newest script runs";
    const LinkContent link = ReadLink(DesktopShortcut());
    EXPECT_EQ(link.target, install_ + L"Shell.exe");
    EXPECT_EQ(link.workingFolder, install_);
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(link.description, L"Комплекс суточного мониторирования электрокардиограмм \"Velmora - Холтер\"");
    ShellExecuteW(nullptr, L"open", DesktopShortcut().c_str(), nullptr, nullptr, SW_HIDE);
    EXPECT_TRUE(Wizard::WaitUntil([&] { return PathExists(install_ + L"Shell.started"); }, 20s))
        << "the shortcut starts the install folder's Shell.exe";
}

TEST_F(InstallationTest, NoUpdatePackageEndsWithTheListIndexError) {
    PackageOptions options;
    options.updatePackages = {};
    Build(options);
    NewSetupLog log;
    Wizard w(exe());
    GoToOptions(w, install_);
    const MessageBoxInfo box = Install(w, IDNO);
    EXPECT_EQ(box.text, L"List index out of bounds (0)") << "no period after the parenthesis";
    w.Answer(box, IDOK);
    EXPECT_FALSE(IsWindowEnabled(w.FindControl(L"Button", L"Выход")));
    EXPECT_FALSE(PathExists(DesktopShortcut()));
    PostMessageW(w.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(w.WaitForExit(10s));

    // The setup log keeps the report's text and says the run ended in error.
    const std::vector<std::wstring> events = log.Events();
    EXPECT_EQ(FirstEventMissingInOrder(events, {L"Error report: List index out of bounds (0)", L"Answer: OK",
                                                L"Run ended: error (exit code 0)"}),
              L"");
    EXPECT_FALSE(FindEvent(events, L"Installation completed").size());
    EXPECT_EQ(events.back(), L"Run ended: error (exit code 0)");
}

TEST_F(InstallationTest, ReinstallKeepsSettingsCounterAndTheOldDatabase) {
    Build();
    {
        Wizard w(exe());
        GoToOptions(w, install_);
        const MessageBoxInfo box = Install(w);
        ASSERT_EQ(box.text, kFinalQuestion);
        w.Answer(box, IDNO);
        EXPECT_EQ(w.Main(), FindTopWindow(w.ProcessId(), L"TFMain")) << "No stays on the progress page";
        w.Click(L"Выход");
        ASSERT_TRUE(w.WaitForExit(10s));
    }
    WriteFileBytes(install_ + L"Settings\\holter.ini",
                   "; clinic\r\n[Common]\r\nLanguage=1\r\n\r\n[options]\r\nFilterType=2\r\nHardwareType=0\r\n");
    const std::string counter = ReadFileBytes(install_ + L"Settings\\lastnum.dta");
    WriteFileBytes(install_ + L"DTAfb\\V12.FDB", "the clinic's records");

    Wizard w(exe());
    GoToOptions(w, install_);
    const MessageBoxInfo box = Install(w);
    ASSERT_EQ(box.text, kFinalQuestion);
    const std::vector<std::wstring> lines = StableLines(LogLines(w));
    ASSERT_EQ(lines.size(), 3u + 12 + 11 + 1);
    EXPECT_EQ(lines[0], L"Создание настроечных файлов....Завершено");
    EXPECT_EQ(lines[1], L"Копирование файла V12.FDB....Завершено");
    const std::wstring prefix = L"Сохранена копия базы данных: V12.FDB.";
    ASSERT_EQ(lines[2].rfind(prefix, 0), 0u) << ToUtf8(lines[2]);
    w.Answer(box, IDYES);
    ASSERT_TRUE(w.WaitForExit(10s));

    const std::wstring backup = lines[2].substr(prefix.size() - std::wstring(L"V12.FDB.").size());
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\" + backup), "the clinic's records");
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\V12.FDB"), ReadFileBytes(temp_ / L"DTAfb\\V12.FDB"));
    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\holter.ini"),
              "[Common]\r\nLanguage=1\r\n\r\n[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\lastnum.dta"), counter);
}

TEST_F(InstallationTest, WindowsXpChoiceCopiesTheTenFileRuntime) {
    Build();
    Wizard w(exe());
    GoToOptions(w, install_);
    HWND windows = AnyChild(w.Main(), L"ComboBox");
    ASSERT_TRUE(windows);
    SendMessageW(windows, CB_SETCURSEL, 1, 0);
    const MessageBoxInfo box = Install(w);
    ASSERT_EQ(box.text, kFinalQuestion);
    const std::vector<std::wstring> lines = StableLines(LogLines(w));
    w.Answer(box, IDYES);

    std::vector<std::wstring> xp(kModernRuntimeLines.begin(), kModernRuntimeLines.begin() + 10);
    xp[7] = L"Копирование файла msvcp71.Dll....Завершено";
    xp[8] = L"Копирование файла msvcr71.Dll....Завершено";
    EXPECT_EQ(lines, Lines({{L"Создание настроечных файлов....Завершено", L"Каталог <DTAfb> создан...",
                             L"Копирование файла V12.FDB....Завершено"},
                            xp,
                            kLinesAfterRuntime,
                            {kVerifiedLine}}));
    ASSERT_TRUE(w.WaitForExit(10s));
    EXPECT_FALSE(PathExists(install_ + L"gbak.exe"));
    EXPECT_FALSE(PathExists(install_ + L"gds32.dll"));
    EXPECT_TRUE(PathExists(install_ + L"msvcr71.Dll"));
}

TEST_F(InstallationTest, MissingRuntimeFileIsReportedAndTheCloseBoxThenWorks) {
    PackageOptions options;
    options.leaveOut = {L"Firebird\\icuuc30.Dll"};
    Build(options);
    Wizard w(exe());
    GoToOptions(w, install_);
    const MessageBoxInfo box = Install(w);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, ErrorReportText(L"Cannot open file \"" + temp_ / L"Firebird\\icuuc30.Dll" + L"\". " +
                                        SystemErrorText(ERROR_FILE_NOT_FOUND)));
    const std::vector<std::wstring> lines = LogLines(w);
    ASSERT_EQ(lines.size(), 3u + 7);
    EXPECT_EQ(lines.back(), L"Копирование файла icuuc30.Dll....");
    w.Answer(box, IDOK);

    EXPECT_FALSE(IsWindowEnabled(w.FindControl(L"Button", L"Выход")));
    PostMessageW(w.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(w.WaitForExit(10s));
}

// Closing is refused while the package's files are written and allowed
// again afterwards. A hook in the installer's thread posts the close request
// as the database line is added, so the request always meets the busy
// window, however fast the files copy.
TEST_F(InstallationTest, CloseIsRefusedWhileFilesAreWrittenAndAllowedAfter) {
    Build();
    Wizard w(exe());
    GoToOptions(w, install_);
    MessageBoxInfo box;
    {
        const InstallerHook closer(w, WH_CALLWNDPROC, L"" VH_BUILD_DIR "/close_on_line.dll",
                                   "CloseOnDatabaseLine");
        ASSERT_TRUE(closer.installed());
        w.Click(L"Начать установку");
        box = AnswerDriverQuestion(w);
    }
    ASSERT_TRUE(GetPropW(w.Main(), L"CloseRequested")) << "the close was requested during the copy";
    ASSERT_EQ(box.text, kFinalQuestion) << "the window survived the close request";
    EXPECT_EQ(StableLines(LogLines(w)).size(), 3u + 12 + 11 + 1);
    w.Answer(box, IDNO);
    PostMessageW(w.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(w.WaitForExit(10s));
}

// An event's text as the setup log keeps it: line breaks shown as blanks.
// A file open for reading, writing and deletion, sharing all three, as a
// user who planted it could keep it: nothing stops them changing it later.
class OpenedByItsPlanter {
public:
    explicit OpenedByItsPlanter(const std::wstring& path)
        : file_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                            nullptr)) {}
    bool opened() const { return static_cast<bool>(file_); }

private:
    ScopedHandle file_;
};

// What any user of the PC can put into the install folder's "backup" before
// an administrator's installation, and what becomes of it.
struct PlantedRoute {
    enum Answer { NotAsked, Enter, Yes };
    const char* what;
    // The distribution's newest package's files, when not the usual ones:
    // name, content.
    std::vector<std::pair<std::wstring, std::string>> shipped;
    // What the user put into the install folder's package folder.
    std::wstring package;
    std::vector<std::pair<std::wstring, std::string>> planted;
    bool hiddenAndReadOnly;  // the planted files, so the tree copy keeps them
    bool heldOpen;           // the planter keeps its script open
    Answer answer;
    std::wstring line;    // the script step's line; empty when it ran
    std::wstring reason;  // the setup log's event that says why, as it starts
};

const std::string kPlantedScript = "@echo off\r\necho planted> ..\\planted.done\r\n";
const std::wstring kNotTheDistributions =
    L"пакет не из этого дистрибутива, Install.cmd не запущен; уровень обновления не записан";

class PlantedFilesTest : public InstallationTest {
protected:
    // Lays the route out, runs the wizard through it and checks that nothing
    // planted ran unless the technician said Yes, with the line and the
    // setup log's reason.
    void Check(const PlantedRoute& route) {
        SCOPED_TRACE(route.what);
        RemoveTree(install_);
        Build();
        for (const auto& [name, content] : route.shipped)
            WriteFileBytes(temp_ / (L"backup\\U010124\\" + name), content);
        const std::wstring package = install_ + L"backup\\" + route.package + L"\\";
        for (const std::wstring& folder : {install_, install_ + L"backup", package})
            CreateDirectoryW(folder.c_str(), nullptr);
        for (const auto& [name, content] : route.planted) {
            WriteFileBytes(package + name, content);
            if (route.hiddenAndReadOnly)
                SetFileAttributesW((package + name).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        }
        std::optional<OpenedByItsPlanter> holder;
        if (route.heldOpen) {
            holder.emplace(package + L"Install.cmd");
            ASSERT_TRUE(holder->opened());
        }
        NewSetupLog log;
        Wizard w(exe());
        GoToOptions(w, install_);
        MessageBoxInfo box = Install(w);
        if (route.answer != PlantedRoute::NotAsked) {
            ASSERT_EQ(box.text.rfind(L"Пакет обновления " + install_ + L"backup\\" + route.package +
                                         L" не совпадает с пакетом " + route.package + L" этого дистрибутива",
                                     0),
                      0u)
                << ToUtf8(box.text);
            if (route.answer == PlantedRoute::Yes) {
                w.Answer(box, IDYES);
            } else {
                // No is the default button: Enter runs nothing.
                Wizard::PressKey(GetDlgItem(box.hwnd, IDNO), VK_RETURN);
                ASSERT_TRUE(Wizard::WaitUntil([&] { return !IsWindow(box.hwnd); }, 10s)) << "Enter answered it";
            }
            box = w.WaitForMessageBox(60s);
        }
        ASSERT_EQ(box.text, kFinalQuestion);
        const std::vector<std::wstring> lines = LogLines(w);
        w.Answer(box, IDYES);
        ASSERT_TRUE(w.WaitForExit(10s));
        holder.reset();

        const bool ran = route.line.empty();
        EXPECT_EQ(PathExists(install_ + L"backup\\planted.done"), ran) << "the planted file ran";
        if (ran) {
            EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>991231</Level>"), std::string::npos);
        } else {
            EXPECT_NE(std::find(lines.begin(), lines.end(), route.line), lines.end());
            EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>100101</Level>"), std::string::npos);
        }
        const std::vector<std::wstring> events = log.Events();
        EXPECT_NE(FindEvent(events, route.reason), L"") << ToUtf8(route.reason);
        EXPECT_EQ(FirstEventMissingInOrder(
                      events, {ran ? L"Release level recorded: 991231" : L"Release level not recorded"}),
                  L"");
    }
};

// Nothing in the install folder's "backup" that the distribution did not
// bring runs without the technician's Yes to a question that says so, and a
// package that cannot be checked never runs.
TEST_F(PlantedFilesTest, PlantedUpdateFilesRunOnlyOnTheTechniciansYes) {
    const PlantedRoute routes[] = {
        {"a package the distribution did not bring, run on Yes",
         {},
         L"X991231",
         {{L"Install.cmd", kPlantedScript}},
         false,
         false,
         PlantedRoute::Yes,
         L"",
         L"Update package " + install_ +
             L"backup\\X991231 is not the distribution's own: the distribution has no "
             L"such package"},
        {"a package the distribution did not bring, Enter",
         {},
         L"X991231",
         {{L"Install.cmd", kPlantedScript}},
         false,
         false,
         PlantedRoute::Enter,
         L"Пакет обновления <X991231>: " + kNotTheDistributions,
         L"Update package " + install_ + L"backup\\X991231 is not the distribution's own"},
        {"its script held open by its planter",
         {},
         L"X991231",
         {{L"Install.cmd", kPlantedScript}},
         false,
         true,
         PlantedRoute::NotAsked,
         L"Пакет обновления <X991231>: пакет не удалось проверить, Install.cmd не запущен; уровень обновления не "
         L"записан",
         L"Install.cmd of " + install_ +
             L"backup\\X991231 not run: the package cannot be checked: a file cannot be "
             L"held: " +
             install_ + L"backup\\X991231\\Install.cmd"},
        {"a command file beside the distribution's script that calls that command",
         {{L"Install.cmd", "@echo off\r\nvhstep\r\necho U010124> ..\\U010124.done\r\n"}},
         L"U010124",
         {{L"vhstep.cmd", kPlantedScript}},
         false,
         false,
         PlantedRoute::Enter,
         L"Пакет обновления <U010124>: " + kNotTheDistributions,
         L"Update package " + install_ +
             L"backup\\U010124 is not the distribution's own: not the distribution's "
             L"file: " +
             install_ + L"backup\\U010124\\vhstep.cmd"},
    };
    for (const PlantedRoute& route : routes) Check(route);
}

// True when this system replaces a hidden read-only file with CopyFileW, as
// Wine run by root does; Windows refuses, and the tree copy keeps the file.
bool KeptFilesAreReplacedHere(const TempFolder& temp) {
    const std::wstring kept = temp / L"kept.probe";
    const std::wstring source = temp / L"source.probe";
    WriteFileBytes(kept, "kept");
    WriteFileBytes(source, "new");
    SetFileAttributesW(kept.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    const bool replaced = CopyFileW(source.c_str(), kept.c_str(), FALSE);
    SetFileAttributesW(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(kept.c_str());
    DeleteFileW(source.c_str());
    return replaced;
}

// A hidden read-only file the user put in place of a file of the package
// survives the tree copy: the package is then not the distribution's.
TEST_F(PlantedFilesTest, AKeptFileInPlaceOfAPackageFileMakesThePackageForeign) {
    if (KeptFilesAreReplacedHere(temp_))
        GTEST_SKIP() << "hidden read-only files are replaced here (Wine run as root), so none is kept; the "
                        "engine's HeldPackageTest covers a changed file of the package";
    Check({"a hidden read-only file kept in place of a file of the package",
           {{L"Install.cmd", "@echo off\r\ncall step2.cmd\r\n"},
            {L"step2.cmd", "echo U010124> ..\\U010124.done\r\n"}},
           L"U010124",
           {{L"step2.cmd", kPlantedScript}},
           true,
           false,
           PlantedRoute::Enter,
           L"Пакет обновления <U010124>: " + kNotTheDistributions,
           L"Update package " + install_ +
               L"backup\\U010124 is not the distribution's own: not the distribution's "
               L"file: " +
               install_ + L"backup\\U010124\\step2.cmd"});
}

// The driver installer starts from the distribution, never from the
// install folder's copy: a DLL that a user put beside that copy, of a name
// the program loads from its own folder, is never loaded.
TEST_F(InstallationTest, ADllPlantedInTheDriverFolderIsNeverLoaded) {
    Build();
    const std::wstring driver = install_ + L"FTDIDriverInstall\\";
    for (const std::wstring& folder : {install_, driver}) CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(L"" VH_BUILD_DIR L"\\planted_syssetup.dll", (driver + L"ftd2xx.dll").c_str(), FALSE));
    Wizard w(exe());
    GoToOptions(w, install_);
    const MessageBoxInfo box = Install(w, IDYES);
    ASSERT_EQ(box.text, kFinalQuestion);
    w.Answer(box, IDYES);
    ASSERT_TRUE(w.WaitForExit(10s));
    EXPECT_TRUE(PathExists(temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.done")) << "the driver installer ran";
    EXPECT_FALSE(PathExists(driver + L"planted_dll_loaded"));
}

// Clicks on the options page's "Отмена" and "Назад" queued behind "Начать
// установку" reach their buttons only once the installation processes
// messages: they do nothing, and the installation runs to its end.
TEST_F(InstallationTest, ClicksQueuedBehindTheStartDoNothing) {
    Build();
    Wizard w(exe());
    GoToOptions(w, install_);
    HWND start = w.FindControl(L"Button", L"Начать установку");
    HWND cancel = w.FindControl(L"Button", L"Отмена");
    HWND back = w.FindControl(L"Button", L"Назад");
    ASSERT_TRUE(start && cancel && back);
    ASSERT_TRUE(PostMessageW(start, BM_CLICK, 0, 0));
    for (HWND button : {cancel, back}) {
        RECT r;
        GetClientRect(button, &r);
        const LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
        PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        PostMessageW(button, WM_LBUTTONUP, 0, centre);
        PostMessageW(button, BM_CLICK, 0, 0);
    }
    const MessageBoxInfo box = AnswerDriverQuestion(w);
    ASSERT_EQ(box.text, kFinalQuestion) << "no cancel question in between";
    EXPECT_TRUE(w.FindControlOfClass(L"ListBox")) << "still on the progress page";
    EXPECT_FALSE(w.FindControl(L"Button", L"Выбрать", 0ms)) << "not back on the folder page";
    w.Answer(box, IDYES);
    EXPECT_TRUE(w.WaitForExit(10s));
    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done"));
}

// A database copy long enough to act while it runs: the package's copy
// streams into its temporary file beside the clinic's database.
constexpr uint64_t kSlowDatabase = 256ull << 20;

uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

// The installer killed half-way through the database copy (a power cut, a
// forced log-off): the clinic's database is still there, whole, under its
// name. The next installation replaces it and keeps it beside. A hook holds
// the copy after its first write, so the kill always meets it half-way.
TEST_F(InstallationTest, KilledDuringTheDatabaseCopyTheClinicsDatabaseStaysWhole) {
    constexpr uint64_t kDatabase = 4 << 20;  // many pieces of the copy
    PackageOptions options;
    options.databaseSize = kDatabase;
    Build(options);
    const std::wstring live = install_ + L"DTAfb\\V12.FDB";
    ASSERT_TRUE(CreateDirectoryW(install_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((install_ + L"DTAfb").c_str(), nullptr));
    WriteFileBytes(live, "the clinic's records");
    {
        Wizard w(exe());
        GoToOptions(w, install_);
        const InstallerHook hold(w, WH_CALLWNDPROC, L"" VH_BUILD_DIR "/hold_database_copy.dll",
                                 "HoldDatabaseCopy");
        ASSERT_TRUE(hold.installed());
        w.Click(L"Начать установку");
        ASSERT_TRUE(Wizard::WaitUntil(
            [&] { return GetPropW(w.Main(), L"DatabaseCopyHeld") || GetPropW(w.Main(), L"DatabaseCopyNotHeld"); },
            60s));
        ASSERT_TRUE(GetPropW(w.Main(), L"DatabaseCopyHeld")) << "the copy was held";
        const std::wstring partial = DatabaseCopyInProgress(live);
        EXPECT_TRUE(PathExists(partial)) << "the copy goes into its own file";
        EXPECT_GT(SizeOf(partial), 0u);
        EXPECT_LT(SizeOf(partial), kDatabase) << "held before the copy was whole";
        EXPECT_EQ(ReadFileBytes(live), "the clinic's records") << "while the copy runs";
        ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, w.ProcessId()));
        ASSERT_TRUE(process);
        ASSERT_TRUE(TerminateProcess(process.get(), 9));
        ASSERT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
    }
    EXPECT_EQ(ReadFileBytes(live), "the clinic's records");

    Wizard w(exe());
    GoToOptions(w, install_);
    const MessageBoxInfo box = Install(w);
    ASSERT_EQ(box.text, kFinalQuestion);
    const std::vector<std::wstring> lines = StableLines(LogLines(w));
    w.Answer(box, IDYES);
    ASSERT_TRUE(w.WaitForExit(10s));
    ASSERT_GE(lines.size(), 3u);
    const std::wstring prefix = L"Сохранена копия базы данных: ";
    ASSERT_EQ(lines[2].rfind(prefix, 0), 0u) << ToUtf8(lines[2]);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\" + lines[2].substr(prefix.size())), "the clinic's records");
    EXPECT_EQ(SizeOf(live), kDatabase);
    EXPECT_FALSE(PathExists(DatabaseCopyInProgress(live))) << "the half copy was written over and moved";
}

// Windows asks every window before a log-off or restart: refused while the
// package's files are written, allowed before and after.
TEST_F(InstallationTest, SessionEndIsRefusedWhileFilesAreWrittenAndAllowedAfter) {
    PackageOptions options;
    options.databaseSize = kSlowDatabase;
    Build(options);
    NewSetupLog log;
    Wizard w(exe());
    GoToOptions(w, install_);
    const auto askSessionEnd = [&] { return AskSessionEnd(w.Main()); };
    EXPECT_EQ(askSessionEnd(), static_cast<DWORD_PTR>(TRUE)) << "before the installation";
    w.Click(L"Начать установку");
    // While the database copy runs: the installer answers at its next step,
    // one of the many still ahead in the block.
    ASSERT_TRUE(
        Wizard::WaitUntil([&] { return PathExists(DatabaseCopyInProgress(install_ + L"DTAfb\\V12.FDB")); }, 60s));
    EXPECT_EQ(askSessionEnd(), static_cast<DWORD_PTR>(FALSE)) << "during the deployment";

    const MessageBoxInfo box = AnswerDriverQuestion(w);
    ASSERT_EQ(box.text, kFinalQuestion);
    EXPECT_EQ(askSessionEnd(), static_cast<DWORD_PTR>(TRUE)) << "after the deployment";
    w.Answer(box, IDYES);
    EXPECT_TRUE(w.WaitForExit(10s));

    // The refusal is in the setup log, once, naming the step the installer
    // was at, before the driver question.
    const std::vector<std::wstring> events = log.Events();
    const std::wstring refused = FindEvent(events, L"Session end refused: the installation is ");
    EXPECT_EQ(std::count(events.begin(), events.end(), refused), 1) << ToUtf8(refused);
    EXPECT_EQ(FirstEventMissingInOrder(
                  events, {L"Progress: Копирование файла V12.FDB....", refused,
                           L"Message box (question): " + kDriverQuestion, L"Run ended: completed (exit code 0)"}),
              L"");
}

// A log-off while the update script runs would kill it half-way through the
// database's changes: refused, and a session that ends anyway is logged
// with what was not done. Once the level is recorded the session may end.
TEST_F(InstallationTest, LogOffIsRefusedWhileTheUpdateScriptRuns) {
    Build();
    // The newest package's script marks its start, then waits while the
    // file "hold" lies in the folder above its own (its own folder is held
    // against change while it runs).
    WriteFileBytes(temp_ / L"backup\\U010124\\Install.cmd",
                   "@echo off\r\necho.> ..\\started\r\n:wait\r\nif exist ..\\hold (ping -n 2 127.0.0.1 > nul & "
                   "goto wait)\r\necho U010124> ..\\U010124.done\r\n");
    WriteFileBytes(temp_ / L"backup\\hold", "");
    const std::wstring package = install_ + L"backup\\";
    NewSetupLog log;
    Wizard w(exe());
    GoToOptions(w, install_);
    w.Click(L"Начать установку");
    const MessageBoxInfo driver = w.WaitForMessageBox(60s);
    ASSERT_EQ(driver.text, kDriverQuestion);
    w.Answer(driver, IDNO);
    ASSERT_TRUE(Wizard::WaitUntil([&] { return PathExists(package + L"started"); }, 60s));

    EXPECT_EQ(AskSessionEnd(w.Main()), static_cast<DWORD_PTR>(FALSE)) << "while the update script runs";
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(
        SendMessageTimeoutW(w.Main(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &ignored));
    ASSERT_TRUE(DeleteFileW((package + L"hold").c_str()));
    const MessageBoxInfo box = w.WaitForMessageBox(60s);
    ASSERT_EQ(box.text, kFinalQuestion);
    EXPECT_EQ(AskSessionEnd(w.Main()), static_cast<DWORD_PTR>(TRUE)) << "once the level is recorded";
    w.Answer(box, IDYES);
    ASSERT_TRUE(w.WaitForExit(10s));
    EXPECT_TRUE(PathExists(package + L"U010124.done"));

    EXPECT_EQ(FirstEventMissingInOrder(
                  log.Events(),
                  {L"Session end refused: the installation is running the update script",
                   L"Session ends (log-off) while the installation is running the update script: that step and "
                   L"the ones after it are not done"}),
              L"");
}

// A driver installer that announces a setting change with SendMessage, held
// running by a file beside it until the test removes it.
class BroadcastingDriverTest : public InstallationTest {
protected:
    void SetUp() override {
        InstallationTest::SetUp();
        PackageOptions options;
        options.driverStandIn = L"broadcasting_driver.exe";
        Build(options);
        WriteFileBytes(temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.exe.hold", "");
    }
    // Ends the stand-in, whatever became of the installer.
    void TearDown() override {
        Release();
        InstallationTest::TearDown();
    }

    // Starts the installation with the driver and waits until the driver
    // installer's broadcast has been answered.
    void StartUntilBroadcastAnswered(const Wizard& w) {
        GoToOptions(w, install_);
        w.Click(L"Начать установку");
        const MessageBoxInfo box = w.WaitForMessageBox(60s);
        ASSERT_EQ(box.text, kDriverQuestion);
        w.Answer(box, IDYES);
        ASSERT_TRUE(Wizard::WaitUntil([&] { return PathExists(Driver() + L".answered"); }, 30s))
            << "the installer's windows answered the driver installer's broadcast";
    }
    // Lets the stand-in end: its hold file goes, and so does the install
    // folder's copy of it, which the read-back then finds missing.
    void Release() {
        DeleteFileW((Driver() + L".hold").c_str());
        DeleteFileW((install_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe.hold").c_str());
    }
    // The distribution's driver installer: the one that runs.
    std::wstring Driver() const { return temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.exe"; }
};

TEST_F(BroadcastingDriverTest, TheWindowAnswersWhileTheDriverInstallerRuns) {
    Wizard w(exe());
    StartUntilBroadcastAnswered(w);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(w.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer))
        << "answered within a second";
    EXPECT_EQ(StableLines(LogLines(w)).back(), L"Началась установка драйверов устройства...");

    Release();
    const MessageBoxInfo box = w.WaitForMessageBox(60s);
    ASSERT_EQ(box.text, kFinalQuestion);
    const std::vector<std::wstring> lines = StableLines(LogLines(w));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(std::vector<std::wstring>(lines.end() - 3, lines.end() - 1),
              (std::vector<std::wstring>{L"Началась установка драйверов устройства...",
                                         L"Установка драйверов устройства завершена"}));
    // The read-back finds the one file this test removed after its copy:
    // the stand-in's hold file.
    EXPECT_EQ(lines.back().rfind(L"Проверка установленных файлов....ОШИБКА!!! Файлов ", 0), 0u)
        << ToUtf8(lines.back());
    EXPECT_NE(lines.back().find(L", отличаются: 1"), std::wstring::npos) << ToUtf8(lines.back());
    w.Answer(box, IDYES);
    EXPECT_TRUE(w.WaitForExit(10s));
}

// Closing is allowed again once the files are written: a close while the
// driver installer runs closes the window, the installation still runs to
// its end, and then the program ends.
TEST_F(BroadcastingDriverTest, CloseWhileTheDriverInstallerRunsEndsTheProgramAfterTheInstallation) {
    Wizard w(exe());
    StartUntilBroadcastAnswered(w);
    PostMessageW(w.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Wizard::WaitUntil([&] { return !IsWindow(w.Main()); }, 10s)) << "the window closed";
    EXPECT_FALSE(w.WaitForExit(0ms)) << "the installation goes on";

    Release();
    DWORD code = 1;
    ASSERT_TRUE(w.WaitForExit(60s, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done")) << "the update script ran";
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos);
    EXPECT_TRUE(PathExists(DesktopShortcut()));
}

}  // namespace
