// The install folder on a disk that runs full: in the middle of the
// database copy, and before the settings file is written. Needs the small
// file system that the test run mounts (VH_SMALL_DISK); without one the
// cases skip.
#include <windows.h>

#include "base/file_system.h"
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

class FullDisk : public FaultTest {
protected:
    void SetUp() override {
        FaultTest::SetUp();
        disk_ = SmallDisk();
        if (disk_.empty())
            GTEST_SKIP() << "no small file system mounted at VH_SMALL_DISK (mounting one needs root)";
        UseInstallFolder(disk_ + L"Holter\\");
    }
    void TearDown() override {
        if (!disk_.empty()) {
            RemoveTree(install_);
            DeleteFileW((disk_ + L"filler").c_str());
        }
        FaultTest::TearDown();
    }

    std::wstring disk_;
};

TEST_F(FullDisk, DatabaseCopyFailsAndTheOldDatabaseAndSettingsStayWhole) {
    PackageOptions options;
    options.databaseSize = 12 * kMiB;  // more than the disk holds
    Build(options);

    EXPECT_EQ(Run(), std::nullopt);
    std::vector<std::wstring> lines = DeploymentLines(Database::KeptAside, L"V12.FDB");
    lines.back() += L"ОШИБКА!!!";
    EXPECT_EQ(Lines(), lines);
    EXPECT_EQ(view_.events, kEventsEndingInDeployment);
    ExpectNothingLost(Database::KeptAside);

    // The copy keeps what was written before the disk ran full.
    const std::string copied = ReadFileBytes(install_ + L"DTAfb\\V12.FDB");
    const std::string original = ReadFileBytes(package_ + L"DTAfb\\V12.FDB");
    EXPECT_GT(copied.size(), 0u);
    EXPECT_LT(copied.size(), original.size());
    EXPECT_TRUE(original.compare(0, copied.size(), copied) == 0);
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

}  // namespace
}  // namespace faults
