#include "engine/package_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"

namespace {

TEST(PackageDateKey, RearrangesTheLastSixCharactersAsYearMonthDay) {
    EXPECT_EQ(PackageDateKey(L"C:\\Holter\\backup\\U250918"), L"180925");
    EXPECT_EQ(PackageDateKey(L"C:\\Holter\\backup\\A010124"), L"240101");
    EXPECT_EQ(PackageDateKey(L"C:\\Holter\\backup\\Readme"), L"meadRe");
    EXPECT_EQ(PackageDateKey(L"12345"), L"12345");
}

// Each case: the list in its final order and the index that must win.
TEST(ChooseNewestPackage, TakesTheGreatestKeyAndTheFirstOfEqualOnes) {
    const struct {
        std::vector<std::wstring> paths;
        size_t newest;
    } cases[] = {
        {{L"B\\A010124", L"B\\B311223", L"B\\C150624"}, 2},
        {{L"B\\C150624", L"B\\A010124", L"B\\B311223"}, 0},
        {{L"B\\a010124", L"B\\X010124"}, 0},
        {{L"B\\X010124", L"B\\a010124"}, 0},
        {{L"B\\U000101"}, 0},
        {{L"B\\A311299", L"B\\B010100"}, 0},  // 991231 beats 000101: two-digit years
        {{L"B\\A010124", L"B\\B020124", L"B\\C020124"}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseNewestPackage(c.paths), c.newest) << testing::PrintToString(c.newest);
}

TEST(ChooseNewestPackage, ReportsAnEmptyListAndTheFirstKeyThatIsNoNumber) {
    const struct {
        std::vector<std::wstring> paths;
        const wchar_t* error;
    } cases[] = {
        {{}, L"List index out of bounds (0)"},
        {{L"B\\A010124", L"B\\Readme"}, L"'meadRe' is not a valid integer value"},
        {{L"B\\Readme", L"B\\Zzzzzz"}, L"'meadRe' is not a valid integer value"},
        {{L"B\\A01 124", L"B\\A010124"}, L"'24 101' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        try {
            ChooseNewestPackage(c.paths);
            ADD_FAILURE() << "no error for " << testing::PrintToString(c.paths.size()) << " paths";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), c.error);
        }
    }
}

}  // namespace
