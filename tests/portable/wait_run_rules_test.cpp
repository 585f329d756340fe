#include "shared/wait_run_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(WaitRunTitle, TitlePerMessageType) {
    EXPECT_EQ(WaitRunTitle(2), L"Запись данных ЭКГ");
    EXPECT_EQ(WaitRunTitle(3), L"Преобразование данных ЭКГ в формат Velmora-Холтер");
    EXPECT_EQ(WaitRunTitle(4), L"");
    for (int other : {0, 1, 5, 100, 255}) EXPECT_EQ(WaitRunTitle(static_cast<uint8_t>(other)), L"Launching ");
}

TEST(NextProgressPosition, TwentySixthStepStartsOver) {
    int position = 0;
    for (int step = 1; step <= 25; ++step) {
        position = NextProgressPosition(position);
        EXPECT_EQ(position, step);
    }
    EXPECT_EQ(NextProgressPosition(position), 1);
}

TEST(PlaceWaitRun, CentresOnTheMonitorAndNeverAboveItsTop) {
    struct {
        int left, top, width, height, w, h;
        int x, y;
    } const cases[] = {
        {0, 0, 1024, 768, 320, 70, 352, 349},
        {1920, -200, 1280, 1024, 321, 71, 1920 + 479, -200 + 476},
        {0, 0, 800, 100, 320, 151, 240, 25},  // taller than the monitor: half the excess below its top
        {0, 0, 300, 600, 321, 70, -10, 265},  // wider: the fraction drops toward zero
    };
    for (const auto& c : cases) {
        const WaitRunPlace p = PlaceWaitRun(c.left, c.top, c.width, c.height, c.w, c.h);
        EXPECT_EQ(p.left, c.x) << c.width << "x" << c.height;
        EXPECT_EQ(p.top, c.y) << c.width << "x" << c.height;
    }
}

TEST(ScaleFromWaitRunDesign, DesignAt144DotsPerInch) {
    EXPECT_EQ(ScaleFromWaitRunDesign(471, 144), 471);
    EXPECT_EQ(ScaleFromWaitRunDesign(471, 96), 314);
    EXPECT_EQ(ScaleFromWaitRunDesign(59, 96), 39);
    EXPECT_EQ(ScaleFromWaitRunDesign(30, 96), 20);
    EXPECT_EQ(ScaleFromWaitRunDesign(471, 120), 393);  // 392.5 rounded up
    EXPECT_EQ(ScaleFromWaitRunDesign(20, 120), 17);
}

}  // namespace
