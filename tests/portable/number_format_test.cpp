#include "shared/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cwchar>
#include <locale>
#include <sstream>
#include <string>

namespace {

// Regional settings whose decimal separator is a comma, where the system
// has one.
bool SelectCommaLocale() {
    for (const char* name : {"ru_RU.UTF-8", "Russian_Russia.1251", "Russian", "de_DE.UTF-8"})
        if (std::setlocale(LC_ALL, name)) return true;
    return false;
}

TEST(SetProcessNumberFormat, UsesThePointWhateverTheRegionalSettings) {
    if (SelectCommaLocale()) {
        EXPECT_EQ(std::to_wstring(1.5), L"1,500000");  // the trap is set
    }

    SetProcessNumberFormat();
    EXPECT_EQ(std::to_wstring(1.5), L"1.500000");
    EXPECT_EQ(std::wcstod(L"1.5", nullptr), 1.5);
    std::wostringstream stream;
    stream << 1234567 << L' ' << 1234.5;
    EXPECT_EQ(stream.str(), L"1234567 1234.5");  // no grouping in plain conversions
    const auto& punctuation = std::use_facet<std::numpunct<wchar_t>>(std::locale());
    EXPECT_EQ(punctuation.decimal_point(), L'.');
    EXPECT_EQ(punctuation.thousands_sep(), L' ');
    EXPECT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).thousands_sep(), ' ');

    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
}

}  // namespace
