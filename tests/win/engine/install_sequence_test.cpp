// The installation sequence against a recording view, a generated package and
// real folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/system_error.h"
#include "engine/counter_file.h"
#include "engine/install_sequence.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/temp_folder.h"

namespace {

// Records what the sequence shows; answers questions as told.
class RecordingView : public InstallView {
public:
    std::wstring folder;
    int windows = 0;
    bool driver = true;
    bool brand = false;
    bool answer = true;
    bool smallFonts = false;

    std::vector<std::wstring> lines;
    std::vector<bool> busyAtLine;  // whether closing was refused when each line was added
    std::vector<std::wstring> events;
    bool busy = false;

    std::wstring InstallFolderText() override { return folder; }
    int WindowsChoice() override { return windows; }
    bool DriverChosen() override { return driver; }
    bool AlternativeBrand() override { return brand; }
    void ShowProgressPage() override {
        lines.clear();
        events.push_back(L"progress page");
    }
    int AddLine(std::wstring_view text) override {
        lines.emplace_back(text);
        busyAtLine.push_back(busy);
        return static_cast<int>(lines.size()) - 1;
    }
    void AppendToLine(int index, std::wstring_view text) override { lines.at(static_cast<size_t>(index)) += text; }
    void Refresh() override {}
    void RepaintLog() override {}
    void SetBusy(bool on) override {
        busy = on;
        events.push_back(on ? L"busy" : L"not busy");
    }
    bool AskYesNo(std::wstring_view question) override {
        events.push_back(L"ask: " + std::wstring(question));
        return answer;
    }
    void ShowErrorBox(std::wstring_view text) override { events.push_back(L"error box: " + std::wstring(text)); }
    void EnableExit() override { events.push_back(L"exit enabled"); }
    bool OfferLargeFonts() override {
        if (smallFonts) events.push_back(L"large-font page");
        return smallFonts;
    }
    void CloseWindow() override { events.push_back(L"close"); }
};

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

std::vector<std::wstring> Concat(std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

DWORD AttributesOf(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

// A package beside the "installer" and an install folder prepared as the
// folder page leaves it (the folder and its "Settings").
class InstallSequenceTest : public testing::Test {
protected:
    void SetUp() override {
        package_ = temp_ / L"package\\";
        install_ = temp_ / L"Holter\\";
        view_.folder = L"  " + install_ + L" ";
        CreateDirectoryW(install_.c_str(), nullptr);
        CreateDirectoryW((install_ + L"Settings").c_str(), nullptr);
    }
    void Build(const PackageOptions& options = {}) { BuildPackage(package_, options); }
    void Run(FileCopy copy = CopyFileWithDate) { RunInstallation(view_, package_, copy); }

    TempFolder temp_;
    std::wstring package_, install_;
    RecordingView view_;
};

TEST_F(InstallSequenceTest, FullRunWritesTheDocumentedLinesAndFiles) {
    Build();
    SYSTEMTIME before;
    GetLocalTime(&before);
    Run();

    EXPECT_EQ(view_.lines, Concat({L"Создание настроечных файлов....Завершено", L"Каталог <DTAfb> создан...",
                                   L"Копирование файла V12.FDB....Завершено"},
                                  kCopyLinesModern));
    EXPECT_EQ(view_.events,
              (std::vector<std::wstring>{L"progress page", L"busy", L"not busy", L"exit enabled",
                                         L"ask: Установка завершена. Выйти из программы установки?", L"close"}));
    for (size_t i = 0; i < view_.lines.size(); ++i) EXPECT_TRUE(view_.busyAtLine[i]) << "line " << i;

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

    EXPECT_TRUE(PathExists(install_ + L"backup\\U010124\\Install.cmd"));
    EXPECT_TRUE(PathExists(install_ + L"backup\\U250918\\Install.cmd"));
    EXPECT_EQ(ReadFileBytes(install_ + L"ReleaseInfo"), PackageOptions{}.releaseInfo);
    EXPECT_TRUE(PathExists(install_ + L"Updater.exe.cfg"));
    EXPECT_TRUE(PathExists(install_ + L"Shell.exe"));
    EXPECT_FALSE(PathExists(install_ + L"Updater"));
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
    view_.folder = install_;
    Run();

    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\holter.ini"),
              "[Common]\r\nLanguage=1\r\n\r\n[Options]\r\nfiltertype=0\r\nMonitor=2\r\nHardwareType=1\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\lastnum.dta"), counter);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\V12.FDB"), ReadFileBytes(package_ + L"DTAfb\\V12.FDB"));

    ASSERT_GE(view_.lines.size(), 3u);
    EXPECT_EQ(view_.lines[0], L"Создание настроечных файлов....Завершено");
    const std::wstring prefix = L"Сохранена копия базы данных: ";
    ASSERT_EQ(view_.lines[1].rfind(prefix, 0), 0u) << "the old database is kept first";
    const std::wstring backup = view_.lines[1].substr(prefix.size());
    EXPECT_EQ(backup.size(), std::wstring(L"V12.FDB.20250301-153000.bak").size());
    EXPECT_EQ(backup.rfind(L"V12.FDB.", 0), 0u);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\" + backup), "the clinic's records");
    EXPECT_EQ(view_.lines[2], L"Копирование файла V12.FDB....Завершено");
    EXPECT_EQ(std::vector<std::wstring>(view_.lines.begin() + 3, view_.lines.end()), kCopyLinesModern);
}

TEST_F(InstallSequenceTest, WindowsXpChoiceCopiesTheTenFileRuntime) {
    Build();
    view_.windows = 1;
    Run();
    EXPECT_EQ(view_.lines.size(), 3u + 10 + 2 + 5 + 4);
    EXPECT_EQ(view_.lines[3 + 7], L"Копирование файла msvcp71.Dll....Завершено");
    EXPECT_EQ(view_.lines[3 + 9], L"Копирование файла firebird.msg....Завершено");
    EXPECT_EQ(view_.lines[3 + 10], L"Копирование файла fbintl.conf....Завершено");
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

// A copy that returns false: the package libraries go on, everything else
// stops after "ОШИБКА!!!".
bool FailingCopyOf(std::wstring_view source, std::wstring_view name) {
    return source.size() >= name.size() && source.substr(source.size() - name.size()) == name;
}

TEST_F(InstallSequenceTest, FailedLibraryCopyIsMarkedAndTheRestGoesOn) {
    Build();
    Run([](std::wstring_view from, std::wstring_view to) {
        return !FailingCopyOf(from, L"\\Compare.Dll") && CopyFileWithDate(from, to);
    });
    const size_t compare = 3 + 12 + 2 + 5;
    ASSERT_EQ(view_.lines.size(), compare + 4);
    EXPECT_EQ(view_.lines[compare], L"Копирование файла Compare.Dll....ОШИБКА!!!");
    EXPECT_EQ(view_.lines[compare + 1], L"Копирование файла PosStr.Dll....Завершено");
    EXPECT_EQ(view_.lines[compare + 3], L"Копирование файла SDecision.Dll....Завершено");
    EXPECT_TRUE(PathExists(install_ + L"Settings\\lastnum.dta"));
    EXPECT_EQ(view_.events.back(), L"close");
}

TEST_F(InstallSequenceTest, FailedRuntimeCopyIsMarkedAndEndsTheInstallation) {
    Build();
    Run([](std::wstring_view from, std::wstring_view to) {
        return !FailingCopyOf(from, L"\\firebird.conf") && CopyFileWithDate(from, to);
    });
    ASSERT_EQ(view_.lines.size(), 5u);
    EXPECT_EQ(view_.lines[4], L"Копирование файла firebird.conf....ОШИБКА!!!");
    EXPECT_EQ(view_.events, (std::vector<std::wstring>{L"progress page", L"busy", L"not busy"}));
    EXPECT_FALSE(PathExists(install_ + L"fbclient.Dll"));
    EXPECT_FALSE(PathExists(install_ + L"backup"));
}

TEST_F(InstallSequenceTest, FoldersThatCannotBeMadeAreReportedInABoxAndALine) {
    Build();
    view_.folder = temp_ / L"missing\\Holter\\";
    Run();
    EXPECT_EQ(view_.lines, (std::vector<std::wstring>{L"Ошибка при создании каталога!"}));
    EXPECT_EQ(view_.events,
              (std::vector<std::wstring>{L"progress page", L"error box: Ошибка при создании каталога!"}));

    view_ = RecordingView{};
    view_.folder = install_;
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
    view_.folder = temp_ / L"New\\";
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

TEST_F(InstallSequenceTest, AlternativeBrandWritesTheBrandFileKeepingItsKeys) {
    Build();
    view_.brand = true;
    Run();
    EXPECT_EQ(ReadFileBytes(install_ + L"btooth.ini"), "[Common]\r\nDisk=I\r\n\r\n");

    WriteFileBytes(install_ + L"btooth.ini", "[Port]\r\nName=COM3\r\n[common]\r\ndisk=C\r\nSpeed=9600\r\n");
    view_ = RecordingView{};
    view_.folder = install_;
    view_.brand = true;
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

TEST_F(InstallSequenceTest, LastStepOffersLargeFontsOrAsksToLeave) {
    Build();
    view_.smallFonts = true;
    Run();
    EXPECT_EQ(std::vector<std::wstring>(view_.events.end() - 2, view_.events.end()),
              (std::vector<std::wstring>{L"exit enabled", L"large-font page"}));

    view_ = RecordingView{};
    view_.folder = install_;
    view_.answer = false;
    Run();
    EXPECT_EQ(view_.events.back(), L"ask: Установка завершена. Выйти из программы установки?");
}

}  // namespace
