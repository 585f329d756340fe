#include "app/folder_check.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const wchar_t* field;
    FolderVerdict verdict;
    const wchar_t* path;
};

TEST(CheckInstallFolder, NormalisesAndClassifies) {
    const Case cases[] = {
        {L"", FolderVerdict::Empty, L""},
        {L"   \t ", FolderVerdict::Empty, L""},
        {L"  D:\\Data\\Holter  ", FolderVerdict::Accepted, L"D:\\Data\\Holter\\"},
        {L"C:", FolderVerdict::RootOnly, L"C:\\"},
        {L"C:\\", FolderVerdict::RootOnly, L"C:\\"},
        {L"a\\", FolderVerdict::RootOnly, L"a\\"},
        {L"C:\\a", FolderVerdict::Accepted, L"C:\\a\\"},
        {L"C:\\Holter\\", FolderVerdict::Accepted, L"C:\\Holter\\"},
        {L"\x01\x1f C:\\Холтер \r\n", FolderVerdict::Accepted, L"C:\\Холтер\\"},
        {L"c:\\Holter", FolderVerdict::Accepted, L"c:\\Holter\\"},
        {L"\\\\server\\share\\Holter", FolderVerdict::Accepted, L"\\\\server\\share\\Holter\\"},
        // Each of these would land wherever the current folder happens to be.
        {L"Holter", FolderVerdict::Relative, L"Holter\\"},
        {L"\\Holter", FolderVerdict::Relative, L"\\Holter\\"},
        {L"C:Holter", FolderVerdict::Relative, L"C:Holter\\"},
        {L"..\\Holter", FolderVerdict::Relative, L"..\\Holter\\"},
        {L"\\\\\\x", FolderVerdict::Relative, L"\\\\\\x\\"},
    };
    for (const Case& c : cases) {
        const FolderCheck check = CheckInstallFolder(c.field);
        EXPECT_EQ(check.verdict, c.verdict) << testing::PrintToString(std::wstring(c.field));
        EXPECT_EQ(check.path, c.path) << testing::PrintToString(std::wstring(c.field));
    }
}

TEST(CheckInstallFolder, KeepsInnerBlanksAndHighCharacters) {
    // U+00A0 is above U+0020 and therefore part of the name.
    EXPECT_EQ(CheckInstallFolder(L"\u00a0C:\\Program Files\\H\u00a0").path, L"\u00a0C:\\Program Files\\H\u00a0\\");
}

}  // namespace
