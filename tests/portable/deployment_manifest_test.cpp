// The deployment lists: which runtime the Windows choice takes, and the
// name an existing database is kept under.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/deployment_manifest.h"

namespace {

bool Holds(std::span<const std::wstring_view> list, std::wstring_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The runtime files: the first copy group of each choice.
std::span<const std::wstring_view> RuntimeFiles(RuntimeChoice runtime) {
    return CopyGroups(runtime)[0].files;
}

TEST(DeploymentManifest, EachRuntimeChoiceTakesItsOwnList) {
    EXPECT_EQ(RuntimeFiles(RuntimeChoice::Modern).size(), 12u);
    EXPECT_TRUE(Holds(RuntimeFiles(RuntimeChoice::Modern), L"gbak.exe"));
    EXPECT_TRUE(Holds(RuntimeFiles(RuntimeChoice::Modern), L"msvcr80.Dll"));
    EXPECT_EQ(RuntimeFiles(RuntimeChoice::WindowsXp).size(), 10u);
    EXPECT_FALSE(Holds(RuntimeFiles(RuntimeChoice::WindowsXp), L"gbak.exe"));
    EXPECT_FALSE(Holds(RuntimeFiles(RuntimeChoice::WindowsXp), L"gds32.dll"));
    EXPECT_TRUE(Holds(RuntimeFiles(RuntimeChoice::WindowsXp), L"msvcr71.Dll"));
}

TEST(DeploymentManifest, GroupsRunRuntimeIntlUdfThenLibrariesThatDoNotStop) {
    for (RuntimeChoice runtime : {RuntimeChoice::Modern, RuntimeChoice::WindowsXp}) {
        const auto groups = CopyGroups(runtime);
        ASSERT_EQ(groups.size(), 4u);
        EXPECT_EQ(groups[0].destinationFolder, L"");
        EXPECT_EQ(groups[1].sourceFolder, L"Firebird\\intl");
        EXPECT_EQ(groups[2].destinationFolder, L"udf");
        EXPECT_EQ(groups[3].sourceFolder, L"UDF");
        EXPECT_EQ(groups[3].destinationFolder, L"udf");
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
