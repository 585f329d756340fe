// The room an installation needs on a volume, and the text that tells the
// user a volume lacks it.
#include <gtest/gtest.h>

#include "engine/space_rules.h"

namespace {

constexpr uint64_t kMiB = 1024 * 1024;

TEST(SpaceRules, FilesTakeWholeClusters) {
    struct Case {
        uint64_t size, cluster, allocated;
    } cases[] = {
        {0, 4096, 0},
        {1, 4096, 4096},
        {4096, 4096, 4096},
        {4097, 4096, 8192},
        {5, 0, 5},
        {3 * kMiB + 1, 65536, 3 * kMiB + 65536},
        {uint64_t{5} << 32, 4096, uint64_t{5} << 32},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AllocatedSize(c.size, c.cluster), c.allocated) << c.size << "/" << c.cluster;
}

TEST(SpaceRules, ACopyOverAFileCountsOnlyTheClustersItAdds) {
    struct Case {
        uint64_t newSize, oldSize, growth;
    } cases[] = {
        {100, 0, 4096},      // a new file
        {5000, 8000, 0},     // the same two clusters
        {10000, 100, 8192},  // three clusters where one was
        {100, 10000, 0},     // a smaller file frees room, which is not counted
        {0, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CopyGrowth(c.newSize, c.oldSize, 4096), c.growth) << c.newSize;
}

TEST(SpaceRules, TheMarginOfOneMebibyteMustFitBesideTheFiles) {
    EXPECT_TRUE(HasRoom({L"C:\\", 5 * kMiB, 6 * kMiB}));
    EXPECT_FALSE(HasRoom({L"C:\\", 5 * kMiB, 6 * kMiB - 1}));
    EXPECT_FALSE(HasRoom({L"C:\\", 0, kMiB - 1})) << "the margin alone";
    EXPECT_TRUE(HasRoom({L"C:\\", 0, kMiB}));
}

TEST(SpaceRules, TheBoxNamesTheVolumeWithNeededRoundedUpAndAvailableDown) {
    struct Case {
        VolumeSpace space;
        const wchar_t* text;
    } cases[] = {
        {{L"D:\\", 12 * kMiB + 1, 7 * kMiB + kMiB / 2},
         L"Недостаточно места на диске D:\\ для установки программы!\r\nТребуется 14 МБ, доступно 7 МБ."},
        // Short by the margin alone: the figures still differ.
        {{L"C:\\", 4 * kMiB, 5 * kMiB - 1},
         L"Недостаточно места на диске C:\\ для установки программы!\r\nТребуется 5 МБ, доступно 4 МБ."},
        {{L"\\\\server\\share\\", 2047 * kMiB, 1234567 * kMiB},
         L"Недостаточно места на диске \\\\server\\share\\ для установки программы!\r\n"
         L"Требуется 2 048 МБ, доступно 1 234 567 МБ."},
        {{L"E:\\", 0, 0},
         L"Недостаточно места на диске E:\\ для установки программы!\r\nТребуется 1 МБ, доступно 0 МБ."},
    };
    for (const Case& c : cases) EXPECT_EQ(NoRoomText(c.space), c.text);
}

TEST(SpaceRules, TheLogLineGivesTheBytesAndTheVerdict) {
    EXPECT_EQ(SpaceLogText({L"C:\\", 3000, 5 * kMiB}),
              L"Free space on C:\\: 3000 bytes to write + 1048576 bytes margin, 5242880 bytes available to this "
              L"user: enough");
    EXPECT_EQ(SpaceLogText({L"Z:\\", 12 * kMiB, 7 * kMiB}),
              L"Free space on Z:\\: 12582912 bytes to write + 1048576 bytes margin, 7340032 bytes available to "
              L"this user: too little");
}

}  // namespace
