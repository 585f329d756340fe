#include "base/integer_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/utf8.h"

namespace {

using namespace std::literals;

TEST(ParseInteger, AcceptsDecimalAndHexadecimalTexts) {
    const struct {
        std::wstring_view text;
        int32_t value;
    } cases[] = {
        {L"1", 1},
        {L"000101", 101},
        {L"240615", 240615},
        {L"  42", 42},
        {L"+7", 7},
        {L"-7", -7},
        {L"2147483647", INT32_MAX},
        {L"-2147483648", INT32_MIN},
        {L"$1F", 31},
        {L"0x1f", 31},
        {L"X10", 16},
        {L"-$10", -16},
        {L"$FFFFFFFF", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << ToUtf8(c.text);
}

TEST(ParseInteger, RefusesEverythingElseNamingTheText) {
    const std::wstring_view cases[] = {L""sv,
                                       L" "sv,
                                       L"meadRe"sv,
                                       L"12 "sv,
                                       L"1.5"sv,
                                       L"+"sv,
                                       L"$"sv,
                                       L"0x"sv,
                                       L"2147483648"sv,
                                       L"-2147483649"sv,
                                       L"$100000000"sv,
                                       L"12a"sv,
                                       L"\x0661\x0662"sv,
                                       L"\t1"sv,
                                       L"1\0"sv,
                                       L"99999999999999999999"sv};
    for (const std::wstring_view text : cases) {
        try {
            ParseInteger(text);
            ADD_FAILURE() << "accepted " << ToUtf8(text);
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), L"'" + std::wstring(text) + L"' is not a valid integer value");
        }
    }
}

}  // namespace
