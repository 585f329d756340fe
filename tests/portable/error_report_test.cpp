#include "app/error_report.h"

#include <gtest/gtest.h>

TEST(ErrorReportText, AppendsPeriodOnlyAfterCharactersAbovePeriod) {
    struct {
        const wchar_t* text;
        const wchar_t* shown;
    } const cases[] = {
        {L"List index out of bounds (0)", L"List index out of bounds (0)"},  // ')' is below '.'
        {L"Range check error", L"Range check error."},
        {L"Done.", L"Done."},
        {L"Ends with !", L"Ends with !"},
        {L"Path C:\\x\\", L"Path C:\\x\\."},
        {L"Ошибка", L"Ошибка."},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorReportText(c.text), c.shown);
}
