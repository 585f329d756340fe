// The install folder on a disk that runs full: in the middle of the
// database copy, and before the settings file is written. Needs the small
// file system that the test run mounts (VH_SMALL_DISK); without one the
// cases skip.
#include <windows.h>

#include "base/file_system.h"
#include "base/strings.h"
#include "engine/fonts.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/small_disk.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

constexpr uint64_t kMiB = 1 << 20;

// Writes to path until the disk is full.
void FillDisk(const std::wstring& path) {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    const std::string block(64 * 1024, 'f');
    DWORD written = 0;
    while (WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
           written == block.size()) {
    }
    for (DWORD size = 4096; size > 0; size /= 2)
        while (WriteFile(file.get(), block.data(), size, &written, nullptr) && written == size) {
        }
}

class FullDisk : public SmallDiskTest {
protected:
    FullDisk()
        : SmallDiskTest(
              "FontsTest.AFontCopyCutShortIsRemovedAndEndsInstallation, "
              "DatabaseSwapTest.FailuresLeaveTheOldDatabaseInPlaceAndNoCopyBehind, "
              "IniFile.FailedWriteNamesTheFileAndLeavesTheOldOneWhole") {}
};

// The package's copy never takes the database's name half-written: the
// clinic's database stays in place, whole, and the partial copy is removed,
// giving its space back. The setup log names the write that failed, with
// its own code.
TEST_F(FullDisk, DatabaseCopyFailsAndTheOldDatabaseAndSettingsStayWhole) {
    SetupLogCapture log;
    PackageOptions options;
    options.databaseSize = 12 * kMiB;  // more than the disk holds
    Build(options);
    ULARGE_INTEGER freeBefore{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(disk_.c_str(), &freeBefore, nullptr, nullptr));

    EXPECT_EQ(Run(), std::nullopt);
    std::vector<std::wstring> lines = DeploymentLines(Database::InPlace, L"V12.FDB");
    lines.back() += L"ОШИБКА!!!";
    EXPECT_EQ(Lines(), lines);
    EXPECT_EQ(view_.events, kEventsEndingInDeployment);
    ExpectNothingLost(Database::InPlace);
    EXPECT_EQ(FilesMatching(install_ + L"DTAfb\\", L"*.*"), (std::vector<std::wstring>{L".", L"..", L"V12.FDB"}));
    ULARGE_INTEGER freeAfter{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(disk_.c_str(), &freeAfter, nullptr, nullptr));
    EXPECT_GT(freeAfter.QuadPart + kMiB, freeBefore.QuadPart);
    const std::wstring failure = L"Cannot write " + DatabaseCopyInProgress(install_ + L"DTAfb\\V12.FDB") +
                                 L": error 112: " + SystemErrorText(ERROR_DISK_FULL);
    EXPECT_EQ(log.Find(failure), failure) << log.Dump();
}

TEST_F(FullDisk, SettingsFileThatCannotBeWrittenStaysAsItWas) {
    Build();
    FillDisk(disk_ + L"filler");

    EXPECT_EQ(Run(), ErrorText(L"Cannot create file", install_ + L"Settings\\holter.ini", ERROR_DISK_FULL));
    EXPECT_TRUE(view_.lines.empty());
    EXPECT_EQ(view_.events, std::vector<std::wstring>{L"progress page"});
    ExpectNothingLost(Database::InPlace, kClinicSettings);
    EXPECT_EQ(FilesMatching(install_ + L"Settings\\", L"*.*"),
              (std::vector<std::wstring>{L".", L"..", L"holter.ini", L"lastnum.dta"}));
}

// A font that does not fit is not left half-written in the fonts folder:
// it would count as installed at every later run. Nothing of it is
// registered and no line claims it.
TEST_F(FullDisk, FontThatDoesNotFitIsRemovedAndEndsFontInstallation) {
    Build();
    constexpr wchar_t kKey[] = L"Software\\Velmora tests\\Full disk fonts";
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    ScopedRegKey key;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr),
        ERROR_SUCCESS);
    const FontTargets targets{disk_ + L"Fonts\\", HKEY_CURRENT_USER, kKey};
    MakeFolder(targets.fontsFolder);
    FillDisk(disk_ + L"filler");

    std::vector<std::wstring> lines;
    std::wstring error;
    try {
        InstallFonts(
            package_, [&](std::wstring_view line) { lines.emplace_back(line); }, targets);
    } catch (const Error& e) {
        error = e.text();
    }
    EXPECT_EQ(error,
              ErrorText(L"Cannot write file", JoinPath(targets.fontsFolder, L"ARIAL.TTF"), ERROR_DISK_FULL));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(FilesMatching(targets.fontsFolder, L"*.*"), (std::vector<std::wstring>{L".", L".."}));
    DWORD values = 1;
    RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    EXPECT_EQ(values, 0u) << "nothing registered";
    key.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

}  // namespace
}  // namespace faults
