// The removal against a real installation made by a pass: what it takes
// away and keeps when the removal program is not the running one, a
// read-only file of the installation, and an entry that another
// installation rewrote for its own folder.
#include "engine/removal.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/install_sequence.h"
#include "engine/uninstall_entry.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/recording_view.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"

namespace {

class RemovalEngineTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteUninstallEntry();
        package_ = temp_ / L"package\\";
        install_ = temp_ / L"Holter\\";
        request_ = TestRequest(install_, L"Velmora - Холтер (removal test)");
        request_.driver = false;
        request_.installerProgram = package_ + L"Updater\\Shell.exe";
        CreateDirectoryW(install_.c_str(), nullptr);
        CreateDirectoryW((install_ + L"Settings").c_str(), nullptr);
        BuildPackage(package_, {});
        RunRecorded(view_, request_, package_);
        ASSERT_EQ(view_.outcome, InstallOutcome::Completed);
    }
    void TearDown() override { DeleteUninstallEntry(); }

    // What the report says became of path.
    std::wstring OutcomeOf(const RemovalReport& report, const std::wstring& path) {
        for (const RemovalItem& item : report.items)
            if (item.path == path) return item.outcome;
        return L"(not named)";
    }

    ScopedCoInitialize com_;
    TempFolder temp_;
    std::wstring package_, install_;
    InstallRequest request_;
    RecordingView view_;
    SetupLogCapture log_;
};

TEST_F(RemovalEngineTest, TakesAwayTheInstallationsFilesAndKeepsTheRest) {
    SetFileAttributesW((install_ + L"gbak.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFileBytes(install_ + L"udf\\PosStr.Dll", "changed");
    const RemovalReport report = RemoveInstallation(install_, L"C:\\elsewhere\\VelmoraSetup.exe");

    EXPECT_EQ(report.end, RemovalEnd::Removed);
    EXPECT_EQ(report.failed, 0);
    EXPECT_EQ(report.changed, 1);
    EXPECT_EQ(OutcomeOf(report, L"gbak.exe"), L"удалён") << "read-only, but the installation's own bytes";
    EXPECT_FALSE(FileExists(install_ + L"gbak.exe"));
    EXPECT_EQ(OutcomeOf(report, L"udf\\PosStr.Dll"), L"оставлен: изменён после установки");
    EXPECT_TRUE(FileExists(install_ + L"udf\\PosStr.Dll"));
    EXPECT_EQ(OutcomeOf(report, L"Uninstall\\VelmoraSetup.exe"), L"удалён") << "not the running program";
    EXPECT_EQ(OutcomeOf(report, L"Uninstall\\"), L"пустой каталог удалён");
    EXPECT_FALSE(DirectoryExists(install_ + L"Uninstall"));
    EXPECT_EQ(OutcomeOf(report, L"intl\\"), L"пустой каталог удалён");
    EXPECT_TRUE(DirectoryExists(install_ + L"udf")) << "it still holds the changed file";
    EXPECT_TRUE(FileExists(install_ + L"DTAfb\\V12.FDB"));
    EXPECT_EQ(UninstallEntryLocation(), L"");
    EXPECT_TRUE(FileExists(report.removalRecord));
    EXPECT_NE(log_.Find(L"Removal: gbak.exe: удалён"), L"");
}

TEST_F(RemovalEngineTest, AnEntryRewrittenForAnotherFolderStays) {
    UninstallEntry other;
    other.installLocation = L"D:\\Other\\";
    ASSERT_TRUE(WriteUninstallEntry(other));
    const RemovalReport report = RemoveInstallation(install_, L"C:\\elsewhere\\VelmoraSetup.exe");
    EXPECT_EQ(report.end, RemovalEnd::Removed);
    EXPECT_EQ(UninstallEntryLocation(), L"D:\\Other\\");
    EXPECT_FALSE(FileExists(install_ + L"gbak.exe"));
}

}  // namespace
