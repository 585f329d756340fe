#include "app/font_size_rule.h"

#include <gtest/gtest.h>

namespace {

TEST(IsSmallFontDpi, BelowOneHundredIsSmall) {
    EXPECT_TRUE(IsSmallFontDpi(96));
    EXPECT_TRUE(IsSmallFontDpi(99));
    EXPECT_FALSE(IsSmallFontDpi(100));
    EXPECT_FALSE(IsSmallFontDpi(120));
    EXPECT_FALSE(IsSmallFontDpi(144));
}

}  // namespace
