#include "shared/settings_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

TEST(ProfileString, TrimsThenDropsOnePairOfMatchingQuotes) {
    const struct {
        const wchar_t* raw;
        const wchar_t* value;
    } cases[] = {
        {L"", L""},
        {L"  ENG \t", L"ENG"},
        {L"\"ENG\"", L"ENG"},
        {L"'ENG'", L"ENG"},
        {L" \" ENG \" ", L" ENG "},
        {L"\"\"ENG\"\"", L"\"ENG\""},
        {L"\"ENG'", L"\"ENG'"},
        {L"\"", L"\""},
        {L"''", L""},
        {L"a = b", L"a = b"},
        {L" Холтер ", L"Холтер"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProfileString(c.raw), c.value) << testing::PrintToString(c.raw);
}

TEST(ProfileString, KeepsAtMost2047Characters) {
    const std::wstring inner(3000, L'x');
    EXPECT_EQ(ProfileString(inner), std::wstring(2047, L'x'));
    EXPECT_EQ(ProfileString(L"\"" + std::wstring(2047, L'y') + L"\""), std::wstring(2047, L'y'));
    EXPECT_EQ(ProfileString(std::wstring(2047, L'z')).size(), 2047u);
}

TEST(ParseIniInteger, AcceptsSignedDecimalAndPrefixedHexadecimal) {
    const struct {
        const wchar_t* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {L"0", 0},
        {L"10", 10},
        {L"+7", 7},
        {L"-7", -7},
        {L"007", 7},
        {L"258", 258},
        {L"2147483647", 2147483647},
        {L"-2147483648", INT32_MIN},
        {L"0x0A", 10},
        {L"0X0a", 10},
        {L"$0A", 10},
        {L"$ff", 255},
        {L"$7FFFFFFF", 2147483647},
        {L"$FFFFFFFF", -1},
        {L"0x00000000000A", 10},
        // refused: the caller falls back to the key's default
        {L"", std::nullopt},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"$100000000", std::nullopt},
        {L"true", std::nullopt},
        {L"yes", std::nullopt},
        {L"1.0", std::nullopt},
        {L"1 ", std::nullopt},
        {L"+", std::nullopt},
        {L"-", std::nullopt},
        {L"$", std::nullopt},
        {L"0x", std::nullopt},
        {L"0x0G", std::nullopt},
        {L"x0A", std::nullopt},
        {L"-$0A", std::nullopt},
        {L"0b1", std::nullopt},
        {L"١", std::nullopt},  // only ASCII digits count
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << testing::PrintToString(c.text);
}

TEST(ParseIniDouble, AcceptsOnlyThePointAsDecimalSeparator) {
    const struct {
        const wchar_t* text;
        std::optional<double> value;
    } cases[] = {
        {L"1.5", 1.5},
        {L"1", 1.0},
        {L"-0.25", -0.25},
        {L"+2.5", 2.5},
        {L".5", 0.5},
        {L"5.", 5.0},
        {L"1e3", 1000.0},
        {L"2.5E-1", 0.25},
        {L"1,5", std::nullopt},
        {L"1 000", std::nullopt},
        {L"", std::nullopt},
        {L".", std::nullopt},
        {L"-", std::nullopt},
        {L"1e", std::nullopt},
        {L"e3", std::nullopt},
        {L"inf", std::nullopt},
        {L"nan", std::nullopt},
        {L"0x1p3", std::nullopt},
        {L"1e999", std::nullopt},
        {L"1.5x", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIniDouble(c.text), c.value) << testing::PrintToString(c.text);
}

TEST(ByteInRange, RefusesWhatOneByteCannotHold) {
    EXPECT_EQ(ByteInRange(0), 0);
    EXPECT_EQ(ByteInRange(255), 255);
    EXPECT_EQ(ByteInRange(256), std::nullopt);
    EXPECT_EQ(ByteInRange(-1), std::nullopt);
}

}  // namespace
