// The program's path form: folders without a trailing "\" (a drive root
// keeps it), joined to names by one "\", and converted where a text shows
// a folder with its "\".
#include <gtest/gtest.h>

#include "base/strings.h"

namespace {

TEST(PathText, JoinPathPutsExactlyOneDelimiterBetween) {
    const struct {
        std::wstring_view folder, name, joined;
    } cases[] = {
        {L"C:\\Holter", L"Settings", L"C:\\Holter\\Settings"},
        {L"C:\\", L"Holter", L"C:\\Holter"},                      // a drive root keeps its own "\"
        {L"C:\\Holter\\", L"gbak.exe", L"C:\\Holter\\gbak.exe"},  // a folder given from outside
        {L"\\\\server\\share", L"Holter", L"\\\\server\\share\\Holter"},
        {L"C:\\Holter", L"", L"C:\\Holter"},              // no name: the folder itself
        {L"", L"udf\\Compare.Dll", L"udf\\Compare.Dll"},  // a relative path stays relative
        {L"", L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << testing::PrintToString(std::wstring(c.folder));
    EXPECT_EQ(JoinPath(L"C:\\Holter", L"Settings", L"holter.ini"), L"C:\\Holter\\Settings\\holter.ini");
}

TEST(PathText, FolderFormsRoundTripAndADriveRootStaysARoot) {
    const struct {
        std::wstring_view given, program, shown;
    } cases[] = {
        {L"C:\\Holter\\", L"C:\\Holter", L"C:\\Holter\\"},
        {L"C:\\Holter", L"C:\\Holter", L"C:\\Holter\\"},
        {L"C:\\", L"C:\\", L"C:\\"},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithoutTrailingBackslash(c.given), c.program) << testing::PrintToString(std::wstring(c.given));
        EXPECT_EQ(WithTrailingBackslash(c.program), c.shown) << testing::PrintToString(std::wstring(c.given));
    }
}

TEST(PathText, FolderOfGivesTheFolderInTheProgramsForm) {
    EXPECT_EQ(FolderOf(L"C:\\Holter\\Uninstall\\VelmoraSetup.exe"), L"C:\\Holter\\Uninstall");
    EXPECT_EQ(FolderOf(L"C:\\VelmoraSetup.exe"), L"C:\\");
    EXPECT_EQ(FolderOf(L"udf\\Compare.Dll"), L"udf");
    EXPECT_EQ(FolderOf(L"VelmoraSetup.exe"), L"");
}

}  // namespace
