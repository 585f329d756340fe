// The deployment lists: which runtime the Windows choice takes, and the
// name an existing database is kept under.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/deployment_manifest.h"

namespace {

bool Holds(std::span<const std::wstring_view> list, std::wstring_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

TEST(DeploymentManifest, WindowsChoiceZeroTakesTheModernRuntimeAnyOtherTheXpOne) {
    EXPECT_EQ(RuntimeFiles(0).size(), 12u);
    EXPECT_TRUE(Holds(RuntimeFiles(0), L"gbak.exe"));
    EXPECT_TRUE(Holds(RuntimeFiles(0), L"msvcr80.Dll"));
    for (int index : {1, 2, -1}) {
        EXPECT_EQ(RuntimeFiles(index).size(), 10u) << index;
        EXPECT_FALSE(Holds(RuntimeFiles(index), L"gbak.exe")) << index;
        EXPECT_FALSE(Holds(RuntimeFiles(index), L"gds32.dll")) << index;
        EXPECT_TRUE(Holds(RuntimeFiles(index), L"msvcr71.Dll")) << index;
    }
}

TEST(DeploymentManifest, GroupsRunRuntimeIntlUdfThenLibrariesThatDoNotStop) {
    for (int index : {0, 1}) {
        const auto groups = CopyGroups(index);
        ASSERT_EQ(groups.size(), 4u);
        EXPECT_EQ(groups[0].files.data(), RuntimeFiles(index).data());
        EXPECT_EQ(groups[0].destinationFolder, L"");
        EXPECT_EQ(groups[1].sourceFolder, L"Firebird\\intl\\");
        EXPECT_EQ(groups[2].destinationFolder, L"udf\\");
        EXPECT_EQ(groups[3].sourceFolder, L"UDF\\");
        EXPECT_EQ(groups[3].destinationFolder, L"udf\\");
        EXPECT_TRUE(groups[0].stopsOnFailure && groups[1].stopsOnFailure && groups[2].stopsOnFailure);
        EXPECT_FALSE(groups[3].stopsOnFailure);
    }
}

TEST(DeploymentManifest, DatabaseBackupNameCarriesThePaddedLocalMoment) {
    EXPECT_EQ(DatabaseBackupName({2025, 3, 1, 15, 30, 7, 500}), L"V12.FDB.20250301-153007.bak");
    EXPECT_EQ(DatabaseBackupName({2024, 12, 31, 0, 0, 0}), L"V12.FDB.20241231-000000.bak");
    EXPECT_EQ(DatabaseBackupName({2024, 12, 31, 0, 0, 0}, 2), L"V12.FDB.20241231-000000-2.bak");
}

}  // namespace
