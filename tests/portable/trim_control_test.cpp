// Trimming the folder field: blanks and control characters go at both ends,
// those inside the text stay.
#include <gtest/gtest.h>

#include "base/strings.h"

namespace {

TEST(TrimControl, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
    const struct {
        std::wstring_view text, trimmed;
    } cases[] = {
        {L"  C:\\Holter\\ ", L"C:\\Holter\\"},
        {L"\t\r\nC:\\Program Files\\Holter\\\x01", L"C:\\Program Files\\Holter\\"},
        {L"C:\\Holter\\", L"C:\\Holter\\"},
        {L" \t ", L""},
        {L"", L""},
        {L"\x21x\x21", L"\x21x\x21"},  // '!' is past U+0020
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimControl(c.text), c.trimmed);
        EXPECT_EQ(TrimControlView(c.text), c.trimmed);
    }
}

}  // namespace
