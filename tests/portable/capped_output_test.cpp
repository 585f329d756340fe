#include "engine/capped_output.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// The cap holds across appends of any size: what fits is kept whole, the
// rest is counted, however it arrives.
TEST(CappedOutput, KeepsUpToTheCapAndCountsTheRest) {
    const struct {
        const char* name;
        std::vector<std::string> appends;
        std::string kept;
        uint64_t cut;
    } cases[] = {
        {"nothing", {}, "", 0},
        {"under the cap", {"ab", "cd"}, "abcd", 0},
        {"exactly the cap", {"abcdefgh"}, "abcdefgh", 0},
        {"one append over it", {"abcdefghij"}, "abcdefgh", 2},
        {"the cap reached within an append", {"abcde", "fghij", "kl"}, "abcdefgh", 4},
        {"empty appends", {"", "abcdefgh", "", "x"}, "abcdefgh", 1},
    };
    for (const auto& c : cases) {
        CappedOutput output(8);
        for (const std::string& bytes : c.appends) output.Append(bytes);
        EXPECT_EQ(output.kept(), c.kept) << c.name;
        EXPECT_EQ(output.cut(), c.cut) << c.name;
    }
}

TEST(CappedOutput, SplitsLinesAtAnyLineEndAndDropsEmptyOnes) {
    CappedOutput output(kScriptOutputCap);
    output.Append("first\r\nsecond\n\r\n\nthird\rlast without end");
    EXPECT_EQ(output.Lines(), (Lines{"first", "second", "third", "last without end"}));

    CappedOutput cut(10);
    cut.Append("0123456\r\n89abc\r\n");
    EXPECT_EQ(cut.Lines(), (Lines{"0123456", "8"})) << "a cut line as far as it came";
}

}  // namespace
