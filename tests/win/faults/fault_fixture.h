// What every fault case starts from and checks afterwards: a package beside
// the "installer", an install folder that already holds a clinic's data (its
// settings with keys of its own, its database, its record counter), and a
// recording view. After the fault, the clinic's data must all still be there.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/database_swap.h"
#include "engine/deployment_manifest.h"
#include "engine/install_sequence.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/recording_view.h"
#include "tests/kit/small_disk.h"
#include "tests/kit/temp_folder.h"

namespace faults {

inline const std::string kClinicSettings =
    "; clinic settings\r\n[Common]\r\nLanguage=1\r\n[Options]\r\nFilterType=3\r\nMonitor=2\r\n";
// The same after an installation: the comment goes, the two keys are set.
inline const std::string kInstalledSettings =
    "[Common]\r\nLanguage=1\r\n\r\n[Options]\r\nFilterType=0\r\nMonitor=2\r\nHardwareType=1\r\n\r\n";
inline const std::string kClinicCounter = std::string("\x01\x00\x07\x00\x00\x00", 6) + "countmsk";
inline const std::string kClinicDatabase = "the clinic's records";

inline const std::wstring kBackupLine = L"Сохранена копия базы данных: ";
inline const std::wstring kDone = L"Завершено";

// Where the clinic's database ends up.
enum class Database {
    InPlace,    // still "DTAfb\V12.FDB", the only database there
    KeptAside,  // moved to one "V12.FDB.<time>.bak" beside it
};

inline std::wstring ErrorText(const wchar_t* what, const std::wstring& path, DWORD code) {
    return std::wstring(what) + L" \"" + path + L"\". " + SystemErrorText(code);
}

inline std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    return WithTrailingBackslash(folder);
}

// The names in folder matching pattern (e.g. "V12.FDB.*.bak").
inline std::vector<std::wstring> FilesMatching(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((folder + pattern).c_str(), &entry));
    if (!find) return names;
    do {
        names.push_back(entry.cFileName);
    } while (FindNextFileW(find.get(), &entry));
    return names;
}

inline void MakeFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
}

// The progress lines of a run that copies every listed file, from the
// settings line to the last package library; the old database's backup
// line (KeptAside) follows the database's line and shows "*" for the
// backup's name. With stopsAt, the lines end at that file's line, which has
// no suffix (the copy raised).
inline std::vector<std::wstring> DeploymentLines(Database database, const wchar_t* stopsAt = nullptr) {
    std::vector<std::wstring> lines = {L"Создание настроечных файлов...." + kDone};
    std::vector<std::wstring_view> files = {kDatabaseFile};
    for (const CopyGroup& group : CopyGroups(RuntimeChoice::Modern))
        files.insert(files.end(), group.files.begin(), group.files.end());
    for (std::wstring_view file : files) {
        const std::wstring line = L"Копирование файла " + std::wstring(file) + L"....";
        if (stopsAt && file == stopsAt) {
            lines.push_back(line);
            break;
        }
        lines.push_back(line + kDone);
        if (file == kDatabaseFile && database == Database::KeptAside) lines.push_back(kBackupLine + L"*");
    }
    return lines;
}

// A run that reaches its end reads every copy back against the
// distribution; its line without the counts (Lines()).
inline const std::vector<std::wstring> kReadBackLines = {std::wstring(kCheckLine) + kDone + L"*"};

inline const std::vector<std::wstring> kDriverLines = {L"Началась установка драйверов устройства...",
                                                       L"Установка драйверов устройства завершена"};
// The driver installer could not be started: its line is marked and none
// claims the driver installed.
inline const std::vector<std::wstring> kDriverNotStartedLines = {
    L"Началась установка драйверов устройства...ОШИБКА!!!"};

inline std::vector<std::wstring> operator+(std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The view's events of a run that ends inside the deployment (closing
// refused, then allowed again), of one that ends after it (the driver
// question answered Yes), and of one that runs to its end, where the window
// takes over.
inline const std::vector<std::wstring> kEventsEndingInDeployment = {L"progress page", L"busy", L"not busy"};
inline const std::vector<std::wstring> kEventsEndingAfterDeployment = {L"progress page", L"busy", L"not busy",
                                                                       L"ask: " + kDriverQuestion};
inline const std::vector<std::wstring> kEventsOfAWholeRun =
    kEventsEndingAfterDeployment + std::vector<std::wstring>{L"completed"};

class FaultTest : public testing::Test {
protected:
    void SetUp() override {
        package_ = temp_ / L"package\\";
        UseInstallFolder(temp_ / L"Holter\\");
    }
    void TearDown() override {
        SetCurrentDirectoryW(startFolder_.c_str());
        DeleteFileW(DesktopShortcut().c_str());
    }

    // Makes install the install folder: created as the folder page leaves
    // it, with the clinic's data in it, a request naming it and a fresh view.
    void UseInstallFolder(const std::wstring& install) {
        install_ = install;
        MakeFolder(install_);
        MakeFolder(install_ + L"Settings");
        MakeFolder(install_ + L"DTAfb");
        WriteFileBytes(install_ + L"Settings\\holter.ini", kClinicSettings);
        WriteFileBytes(install_ + L"Settings\\lastnum.dta", kClinicCounter);
        WriteFileBytes(install_ + L"DTAfb\\V12.FDB", kClinicDatabase);
        request_ = TestRequest(install_, L"Velmora - Холтер (fault test)");
        ResetView();
    }
    void ResetView() {
        view_ = RecordingView{};
        view_.driverAnswer = true;
    }
    void Build(const PackageOptions& options = {}) { BuildPackage(package_, options); }

    // Runs the installation; the text of the error it raised, if any.
    std::optional<std::wstring> Run() {
        try {
            RunRecorded(view_, request_, package_);
        } catch (const Error& e) {
            SetCurrentDirectoryW(startFolder_.c_str());
            return e.text();
        }
        SetCurrentDirectoryW(startFolder_.c_str());
        return std::nullopt;
    }

    // The progress lines without the font lines (they depend on what the
    // system already has) and with the backup's name replaced by "*".
    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        for (const std::wstring& line : view_.lines) {
            if (line.rfind(L"Шрифт <", 0) == 0) continue;
            if (line.rfind(kBackupLine, 0) == 0)
                lines.push_back(kBackupLine + L"*");
            else if (line.rfind(kCheckLine, 0) == 0)
                lines.push_back(line.substr(0, kCheckLine.size() + kDone.size()) + L"*");
            else
                lines.push_back(line);
        }
        return lines;
    }
    bool HasFontLines() const { return Lines().size() != view_.lines.size(); }
    bool ExitEnabled() const {
        return std::find(view_.events.begin(), view_.events.end(), L"completed") != view_.events.end();
    }

    // The clinic's data in the install folder: the settings as the run left
    // them (rewritten, or untouched when the run ended before), the counter
    // unchanged, the database in its place or kept aside whole.
    void ExpectNothingLost(Database database, const std::string& settings = kInstalledSettings) const {
        EXPECT_TRUE(ReadFileBytes(install_ + L"Settings\\holter.ini") == settings);
        ExpectCounterAndDatabaseKept(database);
    }
    void ExpectCounterAndDatabaseKept(Database database) const {
        EXPECT_EQ(ReadFileBytes(install_ + L"Settings\\lastnum.dta"), kClinicCounter);
        const std::wstring folder = install_ + L"DTAfb\\";
        const std::vector<std::wstring> backups = FilesMatching(folder, L"V12.FDB.*.bak");
        EXPECT_FALSE(PathExists(DatabaseCopyInProgress(folder + L"V12.FDB"))) << "no copy left half-way";
        if (database == Database::InPlace) {
            EXPECT_EQ(ReadFileBytes(folder + L"V12.FDB"), kClinicDatabase);
            EXPECT_TRUE(backups.empty());
        } else {
            ASSERT_EQ(backups.size(), 1u);
            EXPECT_EQ(ReadFileBytes(folder + backups[0]), kClinicDatabase);
        }
    }

    std::wstring DesktopShortcut() const {
        wchar_t desktop[MAX_PATH];
        SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
        return WithTrailingBackslash(desktop) + request_.shortcut.name + L".lnk";
    }

    ScopedCoInitialize com_;
    const std::wstring startFolder_ = CurrentFolder();
    TempFolder temp_;
    std::wstring package_, install_;
    InstallRequest request_;
    RecordingView view_;
};

// A case on the small disk, installing into its "Holter" folder; the disk is
// emptied again afterwards. Skips where no small disk is mounted, naming
// the tests that check the same logic without one (testedWithoutTheDisk).
class SmallDiskTest : public FaultTest {
protected:
    explicit SmallDiskTest(const char* testedWithoutTheDisk) : testedWithoutTheDisk_(testedWithoutTheDisk) {}

    void SetUp() override {
        FaultTest::SetUp();
        disk_ = SmallDisk();
        if (disk_.empty())
            GTEST_SKIP() << "no small file system mounted at VH_SMALL_DISK (mounting one needs root); tested "
                            "without it: "
                         << testedWithoutTheDisk_;
        UseInstallFolder(disk_ + L"Holter\\");
    }
    void TearDown() override {
        if (!disk_.empty()) EmptyFolder(disk_);
        FaultTest::TearDown();
    }

    const char* const testedWithoutTheDisk_;
    std::wstring disk_;
};

}  // namespace faults
