#include "shared/log_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(LogEntryLine, UsesThePatternWithTheGivenSeparators) {
    const LogStamp stamp{2024, 3, 5, 14, 7, 9};
    EXPECT_EQ(LogEntryLine(stamp, L'.', L':', L"abc"), L"05.03.2024 14:07:09: abc");
    EXPECT_EQ(LogEntryLine(stamp, L'/', L'.', L"abc"), L"05/03/2024 14.07.09: abc");
    EXPECT_EQ(LogEntryLine({987, 12, 31, 0, 0, 0}, L'-', L':', L""), L"31-12-0987 00:00:00: ");
    EXPECT_EQ(LogEntryLine({2000, 1, 1, 23, 59, 59}, L'.', L':', L"Ошибка: файл"),
              L"01.01.2000 23:59:59: Ошибка: файл");
}

TEST(AddNewest, PutsTheLineOnTopAndDropsTheOldest) {
    std::vector<std::wstring> lines{L"b", L"a"};
    AddNewest(lines, L"c", 3);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"c", L"b", L"a"}));
    AddNewest(lines, L"d", 3);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"d", L"c", L"b"}));

    std::vector<std::wstring> file(1200);
    for (size_t i = 0; i < file.size(); ++i) file[i] = std::to_wstring(i);
    AddNewest(file, L"new", 1000);
    ASSERT_EQ(file.size(), 1000u);
    EXPECT_EQ(file[0], L"new");
    EXPECT_EQ(file[1], L"0");
    EXPECT_EQ(file[999], L"998");
}

TEST(AddOlder, KeepsNewerLinesOnTopWithinTheCap) {
    std::vector<std::wstring> lines{L"new2", L"new1"};
    AddOlder(lines, {L"old1", L"old2", L"old3"}, 4);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"new2", L"new1", L"old1", L"old2"}));
}

TEST(SplitLines, BreaksAtEveryKindOfLineEnd) {
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> lines;
    } cases[] = {
        {L"", {}},
        {L"a", {L"a"}},
        {L"a\r\n", {L"a"}},
        {L"a\r\nb\r\n", {L"a", L"b"}},
        {L"a\nb\rc", {L"a", L"b", L"c"}},
        {L"\r\n", {L""}},
        {L"a\r\n\r\nb", {L"a", L"", L"b"}},
        {L"a\n\r", {L"a", L""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(JoinLines, EndsEveryLineWithCrLfAndReadsBack) {
    EXPECT_EQ(JoinLines({}), L"");
    EXPECT_EQ(JoinLines({L""}), L"\r\n");
    const std::vector<std::wstring> lines{L"05.03.2024 14:07:09: abc", L"", L"Холтер"};
    EXPECT_EQ(JoinLines(lines), L"05.03.2024 14:07:09: abc\r\n\r\nХолтер\r\n");
    EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

TEST(HexDump, TwoUpperCaseDigitsAndABlankPerByte) {
    const unsigned char bytes[] = {0x00, 0x0A, 0xAB, 0xFF, 0x10};
    EXPECT_EQ(HexDump(bytes), L"00 0A AB FF 10 ");
    EXPECT_EQ(HexDump({}), L"");
}

}  // namespace
