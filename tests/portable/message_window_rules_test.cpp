#include <gtest/gtest.h>

#include "base/error.h"
#include "shared/message_layout.h"
#include "shared/message_timing.h"

namespace {

TEST(StopPeriodMs, ZeroKeepsTwentySecondsAndOutOfRangeRaises) {
    EXPECT_EQ(StopPeriodMs(0), 20000u);
    EXPECT_EQ(StopPeriodMs(1), 1000u);
    EXPECT_EQ(StopPeriodMs(2147483), 2147483000u);
    for (int bad : {-1, 2147484, -2147483647 - 1, 2147483647}) {
        try {
            StopPeriodMs(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), L"Invalid timer period: " + std::to_wstring(bad) + L" s");
        }
    }
}

TEST(RemainingSeconds, RoundsHalvesToEvenFromGivenClockValues) {
    struct {
        unsigned period;
        int64_t elapsed;
        int remaining;
    } const cases[] = {
        {20000, 0, 20},
        {20000, 1000, 19},
        {20000, 1016, 19},
        {20000, 999, 19},
        {20000, 500, 20},   // 19.5 → 20 (even)
        {20000, 1500, 18},  // 18.5 → 18 (even)
        {20000, 2500, 18},  // 17.5 → 18
        {20000, 1501, 18},
        {20000, 1499, 19},
        {20000, 19000, 1},
        {20000, 20000, 0},
        {20000, 20500, 0},   // -0.5 → 0
        {20000, 21500, -2},  // -1.5 → -2
        {1999, 0, 1},        // the period counts in whole seconds
        {2147483000, 0, 2147483},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemainingSeconds(c.period, c.elapsed), c.remaining) << c.period << " " << c.elapsed;
}

TEST(CountdownCaption, TwoBlanksNumberAndLetter) {
    EXPECT_EQ(CountdownCaption(19), L"  19с");
    EXPECT_EQ(CountdownCaption(0), L"  0с");
    EXPECT_EQ(CountdownCaption(-1), L"  -1с");
    EXPECT_STREQ(kCountdownBeforeFirstTick, L"  сек");
}

TEST(LayoutMessageWindow, DesignSizesAtSmallFonts) {
    MessageLayoutInput in;
    in.labelHeight = 48;
    in.frameWidth = 8;
    in.frameHeight = 31;
    in.screenWidth = 1024;
    in.screenHeight = 768;
    const MessageLayout l = LayoutMessageWindow(in);
    EXPECT_EQ(l.window.width, 454);
    EXPECT_EQ(l.window.height, 48 + 24 + 16 + 60);
    EXPECT_EQ(l.window.top, 384 - 148) << "the bottom edge lies at half the screen height";
    EXPECT_EQ(l.window.left, (1024 - 454) / 2);
    const int client = 148 - 31;
    EXPECT_EQ(l.lblMessage.width, 446);
    EXPECT_EQ(l.lblMessage.height, 48);
    EXPECT_EQ(l.btnOK.left + l.btnOK.width, 446);
    EXPECT_EQ(l.btnOK.width, 70);
    EXPECT_EQ(l.btnCancel.left, 0);
    EXPECT_EQ(l.btnCancel.width, 73);
    EXPECT_EQ(l.btnOK.top, client - 40);
    EXPECT_EQ(l.btnOK.height, 24);
    EXPECT_EQ(l.btnStop.top, client - 16);
    EXPECT_EQ(l.btnStop.width, 80);
    EXPECT_EQ(l.lblClose.left, 80);
    EXPECT_EQ(l.lblClose.width, 107);
    EXPECT_EQ(l.lblSec.left, 187);
    EXPECT_EQ(l.lblSec.width, 22);
    EXPECT_EQ(l.lblSec.height, 16);
}

TEST(LayoutMessageWindow, SecondMonitorOddSizesAndTallText) {
    MessageLayoutInput in;
    in.labelHeight = 700;  // taller than half the screen
    in.frameWidth = 7;
    in.frameHeight = 30;
    in.screenWidth = 1281;
    in.screenHeight = 1023;
    in.monitorLeft = 1920;
    const MessageLayout l = LayoutMessageWindow(in);
    EXPECT_EQ(l.window.height, 800);
    EXPECT_EQ(l.window.top, 511 - 800) << "starts above the screen; the top of the monitor is not added";
    EXPECT_EQ(l.window.left, 1920 + (1281 - 453) / 2);
}

TEST(LayoutMessageWindow, ScalesTheDesignAtLargeFonts) {
    MessageLayoutInput in;
    in.dpi = 120;
    in.labelHeight = 60;
    in.screenWidth = 1024;
    in.screenHeight = 768;
    const MessageLayout l = LayoutMessageWindow(in);
    EXPECT_EQ(l.lblMessage.width, 558);  // 446 * 1.25, rounded
    EXPECT_EQ(l.window.height, 60 + 30 + 20 + 75);
    EXPECT_EQ(l.btnOK.width, 88);  // 87.5 rounded up
    EXPECT_EQ(l.lblSec.left, 100 + 134);
}

TEST(LayoutMessageWindow, CountdownLabelsWidenForWiderTextOnly) {
    MessageLayoutInput in;
    in.closeTextWidth = 112;
    in.secondsTextWidth = 20;
    MessageLayout l = LayoutMessageWindow(in);
    EXPECT_EQ(l.lblClose.width, 112);
    EXPECT_EQ(l.lblSec.left, 80 + 112);
    EXPECT_EQ(l.lblSec.width, 22);
    in.closeTextWidth = 100;
    in.secondsTextWidth = 24;
    l = LayoutMessageWindow(in);
    EXPECT_EQ(l.lblClose.width, 107);
    EXPECT_EQ(l.lblSec.width, 24);
}

TEST(WithCrLfLineBreaks, LoneCarriageReturnsBecomeLineBreaks) {
    EXPECT_EQ(WithCrLfLineBreaks(L"Внимание!\r Если\r снимите"), L"Внимание!\r\n Если\r\n снимите");
    EXPECT_EQ(WithCrLfLineBreaks(L"a\r\nb\nc\r"), L"a\r\nb\nc\r\n");
    EXPECT_EQ(WithCrLfLineBreaks(L"\r\r"), L"\r\n\r\n");
    EXPECT_EQ(WithCrLfLineBreaks(L""), L"");
}

}  // namespace
