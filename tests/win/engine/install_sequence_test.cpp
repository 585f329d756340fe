// The installation sequence against a recording view, a generated package and
// real folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/counter_file.h"
#include "engine/database_swap.h"
#include "engine/install_sequence.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/recording_view.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/tagged_entries.h"
#include "tests/kit/temp_folder.h"

namespace {

// The desktop shortcut's name in the request of these tests.
const std::wstring kLinkName = L"Velmora - Холтер (engine test)";

const std::vector<std::wstring> kCopyLinesModern = {
    L"Копирование файла aliases.conf....Завершено",  L"Копирование файла firebird.conf....Завершено",
    L"Копирование файла fbclient.Dll....Завершено",  L"Копирование файла ib_util.Dll....Завершено",
    L"Копирование файла icudt30.Dll....Завершено",   L"Копирование файла icuin30.Dll....Завершено",
    L"Копирование файла icuuc30.Dll....Завершено",   L"Копирование файла msvcp80.Dll....Завершено",
    L"Копирование файла msvcr80.Dll....Завершено",   L"Копирование файла firebird.msg....Завершено",
    L"Копирование файла gbak.exe....Завершено",      L"Копирование файла gds32.dll....Завершено",
    L"Копирование файла fbintl.conf....Завершено",   L"Копирование файла fbintl.dll....Завершено",
    L"Копирование файла fbudf.dll....Завершено",     L"Копирование файла ib_udf.dll....Завершено",
    L"Копирование файла fbudf.sql....Завершено",     L"Копирование файла ib_udf.sql....Завершено",
    L"Копирование файла ib_udf2.sql....Завершено",   L"Копирование файла Compare.Dll....Завершено",
    L"Копирование файла PosStr.Dll....Завершено",    L"Копирование файла ProcessingECG.Dll....Завершено",
    L"Копирование файла SDecision.Dll....Завершено",
};

// The steps the session is held for, in order.
const std::vector<std::wstring> kHeldSteps = {
    L"writing the settings and the package's files", L"installing the fonts",      L"installing the driver",
    L"copying the update packages and the updater",  L"running the update script", L"recording the release level"};

std::vector<std::wstring> operator+(std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::wstring> Concat(std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

DWORD AttributesOf(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    return WithTrailingBackslash(folder);
}

std::wstring DesktopShortcut() {
    wchar_t desktop[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    return WithTrailingBackslash(desktop) + kLinkName + L".lnk";
}

// A package beside the "installer" and an install folder prepared as the
// folder page leaves it (the folder and its "Settings").
class InstallSequenceTest : public testing::Test {
protected:
    void SetUp() override {
        package_ = temp_ / L"package\\";
        install_ = temp_ / L"Holter\\";
        request_ = TestRequest(install_, kLinkName);
        CreateDirectoryW(install_.c_str(), nullptr);
        CreateDirectoryW((install_ + L"Settings").c_str(), nullptr);
    }
    void TearDown() override {
        SetCurrentDirectoryW(startFolder_.c_str());
        DeleteFileW(DesktopShortcut().c_str());
    }
    void Build(const PackageOptions& options = {}) { BuildPackage(package_, options); }
    void Run(FileCopy copy = CopyFileWithDate) { RunRecorded(view_, request_, package_, copy); }
    // The progress lines without those of fonts, which depend on what the
    // system already has, and without the read-back's line that ends a run
    // reaching the installation record (CheckLine).
    std::vector<std::wstring> DeploymentLines() const {
        std::vector<std::wstring> lines;
        for (const std::wstring& line : view_.lines)
            if (line.rfind(L"Шрифт <", 0) != 0 && line.rfind(kCheckLine, 0) != 0) lines.push_back(line);
        return lines;
    }
    // The last line, which must be the read-back's.
    std::wstring CheckLine() const {
        EXPECT_FALSE(view_.lines.empty());
        if (view_.lines.empty() || view_.lines.back().rfind(kCheckLine, 0) != 0) {
            ADD_FAILURE() << "the run did not end with the read-back's line";
            return {};
        }
        return view_.lines.back();
    }

    ScopedCoInitialize com_;
    const std::wstring startFolder_ = CurrentFolder();
    TempFolder temp_;
    std::wstring package_, install_;
    InstallRequest request_;
    RecordingView view_;
};

TEST_F(InstallSequenceTest, FullRunWritesTheDocumentedLinesAndFiles) {
    Build();
    SYSTEMTIME before;
    GetLocalTime(&before);
    const std::vector<std::wstring> fontLines = ExpectedFontLines();
    view_.driverAnswer = true;
    Run();

    std::vector<std::wstring> expected =
        Concat({L"Создание настроечных файлов....Завершено", L"Каталог <DTAfb> создан...",
                L"Копирование файла V12.FDB....Завершено"},
               kCopyLinesModern);
    expected = Concat(expected, fontLines);
    expected = Concat(expected,
                      {L"Началась установка драйверов устройства...", L"Установка драйверов устройства завершена",
                       std::wstring(kCheckLine) + L"Завершено: файлов 35, отличий нет"});
    EXPECT_EQ(view_.lines, expected);
    EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page", L"busy", L"not busy",
                                                       L"ask: " + kDriverQuestion, L"completed"}));
    EXPECT_EQ(view_.outcome, InstallOutcome::Completed);
    EXPECT_EQ(view_.askedCaptions, (std::vector<YesNoCaptions>{YesNoCaptions::English}))
        << "the driver question names \"Yes\", so it keeps English captions";
    // The session may not end from the first file written until the level
    // is recorded; the shortcut comes after.
    EXPECT_EQ(view_.sessionSteps, kHeldSteps + std::vector<std::wstring>{L""});
    for (size_t i = 0; i < 3 + kCopyLinesModern.size(); ++i) EXPECT_TRUE(view_.busyAtLine[i]) << "line " << i;
    for (size_t i = 3 + kCopyLinesModern.size(); i < view_.lines.size(); ++i)
        EXPECT_FALSE(view_.busyAtLine[i]) << "line " << i;

    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\holter.ini"),
              "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\V12.FDB"), ReadFileBytes(package_ + L"DTAfb\\V12.FDB"));
    EXPECT_EQ(ReadFileBytes(install_ + L"gbak.exe"), StandInContent(L"Firebird\\gbak.exe"));
    EXPECT_EQ(ReadFileBytes(install_ + L"intl\\fbintl.conf"), StandInContent(L"Firebird\\intl\\fbintl.conf"));
    EXPECT_EQ(ReadFileBytes(install_ + L"udf\\ib_udf2.sql"), StandInContent(L"Firebird\\udf\\ib_udf2.sql"));
    EXPECT_EQ(ReadFileBytes(install_ + L"udf\\SDecision.Dll"), StandInContent(L"UDF\\SDecision.Dll"));
    EXPECT_FALSE(PathExists(install_ + L"msvcr71.Dll"));
    EXPECT_FALSE(PathExists(install_ + L"btooth.ini"));

    const std::string counter = ReadFileBytes(install_ + L"Settings\\lastnum.dta");
    ASSERT_EQ(counter.size(), kCounterRecordSize);
    EXPECT_EQ(counter.substr(0, 6), std::string(6, '\0'));
    double serial = 0;
    std::memcpy(&serial, counter.data() + 6, sizeof(serial));
    const LocalDateTime start{before.wYear,   before.wMonth,  before.wDay,         before.wHour,
                              before.wMinute, before.wSecond, before.wMilliseconds};
    EXPECT_GE(serial, DateSerial(start));
    EXPECT_LT(serial, DateSerial(start) + 60.0 / 86400.0);

    // The driver installer ran from the distribution (never from the
    // install folder's copy, which any user may change), its path quoted, in
    // its own folder; the copy is there all the same.
    const std::string marker = ReadFileBytes(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.done");
    const std::wstring program = L"\"" + package_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe\"";
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(marker.data()), marker.size() / 2),
              program + L"\r\n" + package_ + L"FTDIDriverInstall\r\n");
    EXPECT_EQ(ReadFileBytes(install_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe"),
              ReadFileBytes(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe"));

    // The newest update package (1 January 2024, not 25 September 2018) ran
    // its script in its own folder, and its level was recorded.
    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done"));
    EXPECT_FALSE(PathExists(install_ + L"backup\\U250918.done"));
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos);
    EXPECT_TRUE(PathExists(install_ + L"Updater.exe.cfg"));
    EXPECT_TRUE(PathExists(install_ + L"Shell.exe"));
    EXPECT_FALSE(PathExists(install_ + L"Updater"));
    EXPECT_EQ(CurrentFolder(), install_);
    EXPECT_TRUE(PathExists(DesktopShortcut()));
}

TEST_F(InstallSequenceTest, ReinstallKeepsSettingsCounterAndTheOldDatabase) {
    Build();
    Run();
    WriteFileBytes(install_ + L"Settings\\holter.ini",
                   "; clinic settings\r\n[Common]\r\nLanguage=1\r\n[Options]\r\nfiltertype=3\r\nMonitor=2\r\n");
    const std::string counter =
        "\x01\x00\x07\x00\x00\x00"
        "countmsk";
    WriteFileBytes(install_ + L"Settings\\lastnum.dta", counter);
    WriteFileBytes(install_ + L"DTAfb\\V12.FDB", "the clinic's records");

    view_ = RecordingView{};
    Run();

    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\holter.ini"),
              "[Common]\r\nLanguage=1\r\n\r\n[Options]\r\nfiltertype=0\r\nMonitor=2\r\nHardwareType=1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\lastnum.dta"), counter);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\V12.FDB"), ReadFileBytes(package_ + L"DTAfb\\V12.FDB"));

    EXPECT_EQ(CheckLine(), std::wstring(kCheckLine) + L"Завершено: файлов 30, отличий нет")
        << "the old database, now a backup, is the clinic's, not the installation's";
    const std::vector<std::wstring> lines = DeploymentLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"Создание настроечных файлов....Завершено");
    EXPECT_EQ(lines[1], L"Копирование файла V12.FDB....Завершено");
    const std::wstring prefix = L"Сохранена копия базы данных: ";
    ASSERT_EQ(lines[2].rfind(prefix, 0), 0u) << "the old database's new name follows the swap";
    const std::wstring backup = lines[2].substr(prefix.size());
    EXPECT_EQ(backup.rfind(L"V12.FDB.", 0), 0u);
    EXPECT_EQ(backup.substr(backup.size() - 4), L".bak");
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\" + backup), "the clinic's records");
    EXPECT_EQ(std::vector<std::wstring>(lines.begin() + 3, lines.end()), kCopyLinesModern);

    // Once more at once: within the same second the next backup gets a name
    // of its own.
    view_ = RecordingView{};
    Run();
    const std::wstring again = DeploymentLines().at(2).substr(prefix.size());
    EXPECT_NE(again, backup);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\" + backup), "the clinic's records");
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\" + again), ReadFileBytes(package_ + L"DTAfb\\V12.FDB"));
}

TEST_F(InstallSequenceTest, WindowsXpChoiceCopiesTheTenFileRuntime) {
    Build();
    request_.runtime = RuntimeChoice::WindowsXp;
    Run();
    const std::vector<std::wstring> lines = DeploymentLines();
    EXPECT_EQ(lines.size(), 3u + 10 + 2 + 5 + 4);
    EXPECT_EQ(lines[3 + 7], L"Копирование файла msvcp71.Dll....Завершено");
    EXPECT_EQ(lines[3 + 9], L"Копирование файла firebird.msg....Завершено");
    EXPECT_EQ(lines[3 + 10], L"Копирование файла fbintl.conf....Завершено");
    EXPECT_TRUE(PathExists(install_ + L"msvcr71.Dll"));
    EXPECT_FALSE(PathExists(install_ + L"gbak.exe"));
    EXPECT_FALSE(PathExists(install_ + L"gds32.dll"));
    EXPECT_FALSE(PathExists(install_ + L"msvcr80.Dll"));
}

TEST_F(InstallSequenceTest, MissingRuntimeFileEndsWithTheOpenErrorAndALineWithoutSuffix) {
    PackageOptions options;
    options.leaveOut = {L"Firebird\\icuuc30.Dll"};
    Build(options);
    try {
        Run();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Cannot open file \"" + package_ + L"Firebird\\icuuc30.Dll\". " +
                                SystemErrorText(ERROR_FILE_NOT_FOUND));
    }
    ASSERT_FALSE(view_.lines.empty());
    EXPECT_EQ(view_.lines.back(), L"Копирование файла icuuc30.Dll....");
    EXPECT_EQ(view_.lines[view_.lines.size() - 2], L"Копирование файла icuin30.Dll....Завершено");
    EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page", L"busy", L"not busy"}));
    EXPECT_FALSE(PathExists(install_ + L"Settings\\lastnum.dta"));
}

// A copy that fails for the file name, as a full disk makes it fail: the
// package libraries go on, everything else stops after "ОШИБКА!!!".
Result<> CopyFailingFor(std::wstring_view name, std::wstring_view source, std::wstring_view destination) {
    if (source.size() < name.size() || source.substr(source.size() - name.size()) != name)
        return CopyFileWithDate(source, destination);
    return Result<>::Failure(L"Cannot write " + std::wstring(destination), ERROR_DISK_FULL);
}

TEST_F(InstallSequenceTest, FailedLibraryCopyIsMarkedAndTheRestGoesOn) {
    Build();
    Run([](std::wstring_view from, std::wstring_view to) { return CopyFailingFor(L"\\Compare.Dll", from, to); });
    const std::vector<std::wstring> lines = DeploymentLines();
    const size_t compare = 3 + 12 + 2 + 5;
    ASSERT_EQ(lines.size(), compare + 4);
    EXPECT_EQ(lines[compare], L"Копирование файла Compare.Dll....ОШИБКА!!!");
    EXPECT_EQ(lines[compare + 1], L"Копирование файла PosStr.Dll....Завершено");
    EXPECT_EQ(lines[compare + 3], L"Копирование файла SDecision.Dll....Завершено");
    EXPECT_TRUE(PathExists(install_ + L"Settings\\lastnum.dta"));
    EXPECT_EQ(view_.events.back(), L"completed");
    EXPECT_EQ(view_.outcome, InstallOutcome::CompletedWithFailures);
}

TEST_F(InstallSequenceTest, FailedRuntimeCopyIsMarkedAndEndsTheInstallation) {
    Build();
    Run([](std::wstring_view from, std::wstring_view to) { return CopyFailingFor(L"\\firebird.conf", from, to); });
    ASSERT_EQ(view_.lines.size(), 5u);
    EXPECT_EQ(view_.lines[4], L"Копирование файла firebird.conf....ОШИБКА!!!");
    EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page", L"busy", L"not busy"}));
    EXPECT_FALSE(PathExists(install_ + L"fbclient.Dll"));
    EXPECT_FALSE(PathExists(install_ + L"backup"));
}

// The database's copy fails before its temporary file exists, so removing
// that file fails too, with a code of its own: the log keeps the copy's.
TEST_F(InstallSequenceTest, FailedCopiesLogTheCodeOfTheFailingCall) {
    struct Case {
        FileCopy copy;
        std::wstring destination;
        std::wstring line;
    };
    const Case cases[] = {
        {[](std::wstring_view from, std::wstring_view to) { return CopyFailingFor(L"\\V12.FDB", from, to); },
         DatabaseCopyInProgress(install_ + L"DTAfb\\V12.FDB"),
         L"Database copy failed: " + package_ + L"DTAfb\\V12.FDB; " + install_ +
             L"DTAfb\\V12.FDB is left as it was"},
        {[](std::wstring_view from, std::wstring_view to) { return CopyFailingFor(L"\\fbclient.Dll", from, to); },
         install_ + L"fbclient.Dll",
         L"Copy failed: " + package_ + L"Firebird\\fbclient.Dll -> " + install_ + L"fbclient.Dll"},
    };
    Build();
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.destination));
        SetupLogCapture log;
        RecordingView view;
        RunRecorded(view, request_, package_, c.copy);
        EXPECT_EQ(view.lines.back().substr(view.lines.back().size() - 9), L"ОШИБКА!!!");
        const std::vector<std::wstring> events = log.Events();
        const auto failure =
            std::find(events.begin(), events.end(),
                      L"Cannot write " + c.destination + L": error 112: " + SystemErrorText(ERROR_DISK_FULL));
        ASSERT_NE(failure, events.end()) << log.Dump();
        ASSERT_NE(failure + 1, events.end());
        EXPECT_EQ(failure[1], c.line) << "logged once, with what was left";
    }
}

TEST_F(InstallSequenceTest, FoldersThatCannotBeMadeAreReportedInABoxAndALine) {
    Build();
    request_.installFolder = temp_ / L"missing\\Holter";
    Run();
    EXPECT_EQ(view_.lines, (std::vector<std::wstring>{L"Ошибка при создании каталога!"}));
    EXPECT_EQ(view_.events,
              (std::vector<std::wstring>{L"progress page", L"error box: Ошибка при создании каталога!"}));

    view_ = RecordingView{};
    request_.installFolder = WithoutTrailingBackslash(install_);
    WriteFileBytes(install_ + L"DTAfb", "a file in the way");
    Run();
    EXPECT_EQ(view_.lines, (std::vector<std::wstring>{L"Создание настроечных файлов....Завершено",
                                                      L"Ошибка при создании каталога <DTAfb>!"}));
    EXPECT_EQ(view_.events,
              (std::vector<std::wstring>{L"progress page", L"busy",
                                         L"error box: Ошибка при создании каталога <DTAfb>!", L"not busy"}));
}

// The folder page makes the folder and its "Settings"; when the folder has
// gone meanwhile, it is made again, but the settings file has no folder.
TEST_F(InstallSequenceTest, VanishedInstallFolderIsMadeAndTheSettingsFileFails) {
    Build();
    request_.installFolder = temp_ / L"New";
    try {
        Run();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Cannot create file \"" + temp_ / L"New\\Settings\\holter.ini" + L"\". " +
                                SystemErrorText(ERROR_PATH_NOT_FOUND));
    }
    EXPECT_EQ(view_.lines, (std::vector<std::wstring>{L"Каталог создан..."}));
    EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page"}));
}

TEST_F(InstallSequenceTest, DriverStepFollowsTheCheckBoxAndTheAnswer) {
    PackageOptions options;
    options.leaveOut = {L"FTDIDriverInstall"};
    Build(options);
    // Without a driver in the package the driver installer cannot start:
    // its line says so and no line claims the driver installed.
    // "ОШИБКА!!!" appended directly, as on every other line.
    const std::wstring failedStart = L"Началась установка драйверов устройства...ОШИБКА!!!";
    struct Case {
        const char* what;
        bool chosen, answer, asked, line;
    };
    const Case cases[] = {
        {"not chosen", false, true, false, false},
        {"answered No", true, false, true, false},
        {"answered Yes, no driver in the package", true, true, true, true},
    };
    for (const Case& c : cases) {
        view_ = RecordingView{};
        request_.driver = c.chosen;
        view_.driverAnswer = c.answer;
        Run();
        EXPECT_EQ(
            std::find(view_.events.begin(), view_.events.end(), L"ask: " + kDriverQuestion) != view_.events.end(),
            c.asked)
            << c.what;
        EXPECT_EQ(DeploymentLines().back() == failedStart, c.line) << c.what;
        EXPECT_EQ(
            std::count_if(view_.lines.begin(), view_.lines.end(),
                          [](const std::wstring& line) { return line.find(L"драйвер") != std::wstring::npos; }),
            c.line ? 1 : 0)
            << c.what;
        EXPECT_EQ(view_.events.back(), L"completed") << c.what;
    }
    EXPECT_FALSE(PathExists(install_ + L"FTDIDriverInstall"));

    // A driver installer someone put into the install folder beforehand is
    // not the distribution's: it never runs.
    CreateDirectoryW((install_ + L"FTDIDriverInstall").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(JoinPath(ModuleFolder(), L"FTDIDriverInstall.exe").c_str(),
                          (install_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe").c_str(), FALSE));
    view_ = RecordingView{};
    request_.driver = true;
    view_.driverAnswer = true;
    Run();
    EXPECT_EQ(DeploymentLines().back(), failedStart);
    EXPECT_FALSE(PathExists(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.done"));
}

// The install folder's "backup" may hold a package this distribution did not
// bring, put there by any user of the PC: its script runs only on the
// user's Yes; on No neither it runs nor its level is recorded.
TEST_F(InstallSequenceTest, AForeignUpdateScriptRunsOnlyOnYes) {
    Build();
    const std::wstring foreign = install_ + L"backup\\X991231\\";
    CreateDirectoryW((install_ + L"backup").c_str(), nullptr);
    CreateDirectoryW(foreign.c_str(), nullptr);
    WriteFileBytes(foreign + L"Install.cmd", "@echo off\r\necho planted> ..\\X991231.done\r\n");
    const std::wstring question =
        L"ask: Пакет обновления " + install_ +
        L"backup\\X991231 не совпадает с пакетом X991231 этого дистрибутива: в его каталоге есть другие или "
        L"лишние файлы.\r\nИх мог положить туда любой пользователь компьютера. Запускайте сценарий Install.cmd "
        L"этого пакета, только если пакет обновления установлен Вами.\r\nЗапустить сценарий?";
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        view_ = RecordingView{};
        view_.answer = yes;
        Run();
        EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page", L"busy", L"not busy",
                                                           L"ask: " + kDriverQuestion, question, L"completed"}));
        EXPECT_EQ(PathExists(install_ + L"backup\\X991231.done"), yes);
        // A script not run is a failure shown on screen: completed with failures.
        EXPECT_EQ(view_.outcome, yes ? InstallOutcome::Completed : InstallOutcome::CompletedWithFailures);
        // Enter must not run it: No is the default button.
        EXPECT_EQ(view_.askedDefaults, (std::vector<DefaultButton>{DefaultButton::Yes, DefaultButton::No}));
        EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find(yes ? "<Level>991231<" : "<Level>100101<"),
                  std::string::npos);
        EXPECT_EQ(DeploymentLines().back() ==
                      L"Пакет обновления <X991231>: пакет не из этого дистрибутива, Install.cmd не "
                      L"запущен; уровень обновления не записан",
                  !yes);
        EXPECT_EQ(std::find(view_.sessionSteps.begin(), view_.sessionSteps.end(),
                            L"recording the release level") != view_.sessionSteps.end(),
                  yes);
    }
    // The distribution's own packages ask nothing, also when a copy of one
    // was changed in the install folder: the tree copy puts it back first.
    RemoveTree(install_ + L"backup\\X991231");
    WriteFileBytes(install_ + L"backup\\U010124\\Install.cmd", "@echo off\r\necho changed> ..\\changed.done\r\n");
    view_ = RecordingView{};
    Run();
    EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page", L"busy", L"not busy",
                                                       L"ask: " + kDriverQuestion, L"completed"}));
    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done"));
}

// A run that died inside the database swap left the clinic's database only
// under its backup name: the next run says where it is before the package's
// copy takes the name.
TEST_F(InstallSequenceTest, ABackupLeftByARunThatDiedInTheSwapIsNamed) {
    Build();
    CreateDirectoryW((install_ + L"DTAfb").c_str(), nullptr);
    const std::wstring backup = L"V12.FDB.20250301-153007.bak";
    WriteFileBytes(install_ + L"DTAfb\\V12.FDB.20240101-120000.bak", "an older backup");
    WriteFileBytes(install_ + L"DTAfb\\" + backup, "the clinic's records");
    Run();
    ASSERT_GE(view_.lines.size(), 3u);
    EXPECT_EQ(view_.lines[1], L"База данных V12.FDB не найдена; прежняя база данных сохранена в файле " + backup);
    EXPECT_EQ(view_.lines[2], L"Копирование файла V12.FDB....Завершено");
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\" + backup), "the clinic's records");
}

// A script that is a link is never run, and no question offers it.
TEST_F(InstallSequenceTest, ALinkedUpdateScriptIsNeverRun) {
    Build();
    const std::wstring script = install_ + L"backup\\U010124\\Install.cmd";
    {
        const TaggedEntries linked({{script, IO_REPARSE_TAG_SYMLINK}});
        Run();
    }
    EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page", L"busy", L"not busy",
                                                       L"ask: " + kDriverQuestion, L"completed"}));
    EXPECT_EQ(
        DeploymentLines().back(),
        L"Пакет обновления <U010124>: пакет не удалось проверить, Install.cmd не запущен; уровень обновления не "
        L"записан");
    EXPECT_FALSE(PathExists(install_ + L"backup\\U010124.done"));
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>100101<"), std::string::npos);
}

// A view under which the settings folder turns into a link once the
// update script starts, as it would after a user renamed the folder and
// put a junction in its place while the script ran.
class SettingsLinkedDuringTheScript : public RecordingView {
public:
    explicit SettingsLinkedDuringTheScript(std::wstring settings) : settings_(std::move(settings)) {}
    void HoldSession(std::wstring_view step) override {
        RecordingView::HoldSession(step);
        if (step == L"running the update script")
            linked_.emplace(TaggedEntries::Tags{{settings_, IO_REPARSE_TAG_MOUNT_POINT}});
    }

private:
    std::wstring settings_;
    std::optional<TaggedEntries> linked_;
};

// The writes that come after the pass began never go through a link that
// appeared meanwhile: the record is not written, the line says so, and the
// setup log names the link.
TEST_F(InstallSequenceTest, ARecordIsNeverWrittenThroughALinkThatAppearedDuringTheScript) {
    Build();
    const SetupLogCapture log;
    SettingsLinkedDuringTheScript view(install_ + L"Settings");
    RunRecorded(view, request_, package_);
    EXPECT_EQ(view.lines.back().rfind(std::wstring(kCheckLine) + L"ОШИБКА!!! ", 0), 0u)
        << ToUtf8(view.lines.back());
    EXPECT_NE(view.lines.back().find(L"; протокол не записан"), std::wstring::npos) << ToUtf8(view.lines.back());
    EXPECT_TRUE(log.Has(L"Installation record not written: Cannot create file \"" + install_ +
                        L"Settings\\VelmoraSetup record "))
        << log.Dump();
    EXPECT_NE(log.Find(L"Installation record not written: ").find(L"Settings is a junction or symbolic link"),
              std::wstring::npos);
    WIN32_FIND_DATAW entry;
    EXPECT_FALSE(ScopedFindHandle(FindFirstFileW((install_ + L"Settings\\VelmoraSetup record*").c_str(), &entry)));
}

// The update script, the release level and the shortcut raise their errors;
// the installation ends there without enabling "Выход".
TEST_F(InstallSequenceTest, UpdateStepsEndTheInstallationOnTheirErrors) {
    struct Case {
        const char* what;
        std::vector<std::wstring> packages, leaveOut;
        std::wstring error;
    };
    const Case cases[] = {
        {"no update package", {}, {}, L"List index out of bounds (0)"},
        {"a folder without a date", {L"U250918", L"Readme"}, {}, L"'meadRe' is not a valid integer value"},
        {"no release information", {L"U250918"}, {L"Updater\\ReleaseInfo"}, L"Release info file does not exist"},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        PackageOptions options;
        options.updatePackages = c.packages;
        options.leaveOut = c.leaveOut;
        BuildPackage(temp.path(), options);
        const std::wstring install = temp / L"Holter\\";
        CreateDirectoryW(install.c_str(), nullptr);
        CreateDirectoryW((install + L"Settings").c_str(), nullptr);
        view_ = RecordingView{};
        request_.installFolder = WithoutTrailingBackslash(install);
        try {
            RunRecorded(view_, request_, temp.path());
            ADD_FAILURE() << c.what << ": no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), c.error) << c.what;
        }
        EXPECT_EQ(std::find(view_.events.begin(), view_.events.end(), L"completed"), view_.events.end()) << c.what;
        ASSERT_GE(view_.sessionSteps.size(), 2u) << c.what;
        EXPECT_EQ(view_.sessionSteps.back(), L"") << c.what << ": the session may end after an error";
        EXPECT_FALSE(PathExists(DesktopShortcut())) << c.what;
        SetCurrentDirectoryW(startFolder_.c_str());
    }
}

TEST_F(InstallSequenceTest, AlternativeBrandWritesTheBrandFileKeepingItsKeys) {
    Build();
    request_.alternativeBrand = true;
    Run();
    EXPECT_EQ(ReadFileBytes(install_ + L"btooth.ini"), "[Common]\r\nDisk=I\r\n\r\n");

    WriteFileBytes(install_ + L"btooth.ini", "[Port]\r\nName=COM3\r\n[common]\r\ndisk=C\r\nSpeed=9600\r\n");
    view_ = RecordingView{};
    Run();
    EXPECT_EQ(ReadFileBytes(install_ + L"btooth.ini"),
              "[Port]\r\nName=COM3\r\n\r\n[common]\r\ndisk=I\r\nSpeed=9600\r\n\r\n");
}

TEST_F(InstallSequenceTest, ReadOnlyPackageLeavesOnlyTheTwoUpdaterFilesWritable) {
    PackageOptions options;
    options.readOnlyTrees = true;
    Build(options);
    Run();
    EXPECT_FALSE(AttributesOf(install_ + L"ReleaseInfo") & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(AttributesOf(install_ + L"Updater.exe.cfg") & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(AttributesOf(install_ + L"Shell.exe") & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(AttributesOf(install_ + L"backup\\U250918\\Install.cmd") & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(AttributesOf(install_ + L"DTAfb\\V12.FDB") & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(AttributesOf(install_ + L"fbclient.Dll") & FILE_ATTRIBUTE_READONLY);
}

}  // namespace

namespace {

// Every progress line goes into the setup log as it is shown, once by the
// installation whatever the view: as added, and again as each appended
// outcome leaves it.
TEST_F(InstallSequenceTest, EveryLineIsLoggedOnceAsShown) {
    Build();
    const SetupLogCapture log;
    view_.driverAnswer = true;
    Run();
    std::vector<std::wstring> logged;
    for (const std::wstring& event : log.Events())
        if (event.rfind(L"Progress: ", 0) == 0) logged.push_back(event.substr(10));
    for (const std::wstring& line : view_.lines)
        EXPECT_EQ(std::count(logged.begin(), logged.end(), line), 1) << ToUtf8(line) << log.Dump();
    EXPECT_EQ(std::count(logged.begin(), logged.end(), L"Копирование файла gbak.exe...."), 1);
    EXPECT_EQ(logged.size(), view_.lines.size() + 1 + kCopyLinesModern.size() + 1 + 1)
        << "each line once, and once more for the settings, database, copy and read-back lines' outcomes";
}

}  // namespace
