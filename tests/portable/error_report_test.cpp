#include "app/error_report.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "base/error.h"

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

TEST(CurrentExceptionText, NamesEveryKindOfExceptionThatReachesTheReport) {
    struct {
        void (*raise)();
        const wchar_t* text;
    } const cases[] = {
        {[] { throw Error(L"Cannot open file \"C:\\x\". Отказано в доступе"); },
         L"Cannot open file \"C:\\x\". Отказано в доступе"},
        {[] { throw std::bad_alloc(); }, L"Out of memory"},
        {[] { throw std::runtime_error("vector too long"); }, L"vector too long"},
        {[] { throw 42; }, L"Unknown error"},
    };
    for (const auto& c : cases) {
        try {
            c.raise();
            FAIL() << "nothing raised";
        } catch (...) {
            EXPECT_EQ(CurrentExceptionText(), c.text);
        }
    }
}
