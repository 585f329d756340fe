// Choosing the newest update package among real folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "engine/package_choice.h"
#include "tests/kit/temp_folder.h"

namespace {

TEST(FindNewestPackage, ChoosesAmongRealFolders) {
    const struct {
        const char* what;
        std::vector<const wchar_t*> folders;  // created in this order
        std::vector<const wchar_t*> hidden;
        const wchar_t* newest;  // nullptr: error expected
        const wchar_t* error;
    } cases[] = {
        {"greatest date", {L"A010124", L"B311223", L"C150624"}, {}, L"C150624", nullptr},
        {"equal dates: first after sorting without case", {L"X010124", L"a010124"}, {}, L"a010124", nullptr},
        // The file system's own order puts letters before "_"; the locale's does not.
        {"equal dates: locale order, not file-system order", {L"A010124", L"_010124"}, {}, L"_010124", nullptr},
        {"WithOutAnswer is no package", {L"WithOutAnswer", L"A010124"}, {}, L"A010124", nullptr},
        {"hidden folders are no packages", {L"A010124"}, {L"Z311299"}, L"A010124", nullptr},
        {"a name without a date", {L"A010124", L"Readme"}, {}, nullptr, L"'meadRe' is not a valid integer value"},
        {"no package at all", {}, {L"Z311299"}, nullptr, L"List index out of bounds (0)"},
    };
    for (const auto& c : cases) {
        TempFolder install;
        const std::wstring backup = install / L"backup\\";
        ASSERT_TRUE(CreateDirectoryW(backup.c_str(), nullptr));
        for (const wchar_t* name : c.folders) CreateDirectoryW((backup + name).c_str(), nullptr);
        for (const wchar_t* name : c.hidden) {
            CreateDirectoryW((backup + name).c_str(), nullptr);
            SetFileAttributesW((backup + name).c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
        try {
            const std::wstring chosen = FindNewestPackage(install.path());
            EXPECT_EQ(chosen, c.newest ? backup + c.newest : L"(error)") << c.what;
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), c.error ? c.error : L"(no error)") << c.what;
        }
    }
}

TEST(FindNewestPackage, AMissingStoreIsAnEmptyList) {
    TempFolder install;
    try {
        FindNewestPackage(install.path());
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"List index out of bounds (0)");
    }
}

}  // namespace
