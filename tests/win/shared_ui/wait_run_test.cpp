#include "shared/WaitRun.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "shared/ScreenMonitorManager.h"
#include "shared/wait_run_rules.h"
#include "tests/win/shared_ui/ui_kit.h"

namespace {

TEST(TFWaitRun, CreatedHiddenCentredWithoutCloseBox) {
    TFWaitRun wait;
    HWND hwnd = wait.Handle();
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(TextOf(hwnd), L"Launching ");
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND bar = FindWindowExW(hwnd, nullptr, PROGRESS_CLASSW, nullptr);
    ASSERT_TRUE(bar);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 25);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & PBS_SMOOTH);

    // The design (471 x 59 at 144 dots per inch) at the test prefix's 96.
    RECT client, window, barRect;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 314);
    EXPECT_EQ(client.bottom, 39);
    GetClientRect(bar, &barRect);
    EXPECT_EQ(barRect.bottom, 20);
    GetWindowRect(hwnd, &window);
    const TMonitor& m = myScreen->GetMonitor(myScreen->Monitornumber);
    const int w = window.right - window.left, h = window.bottom - window.top;
    EXPECT_EQ(window.left, m.Left + (m.Width - w) / 2);
    EXPECT_EQ(window.top, m.Top + (m.Height - h) / 2);
}

TEST(TFWaitRun, TitleFollowsTypemessageWhenShown) {
    TFWaitRun wait;
    for (int type : {2, 3, 4, 0, 5}) {
        wait.typemessage = static_cast<uint8_t>(type);
        const std::wstring before = TextOf(wait.Handle());
        wait.Hide();
        EXPECT_EQ(TextOf(wait.Handle()), before) << "setting the type alone changes nothing";
        wait.Show();
        EXPECT_TRUE(IsWindowVisible(wait.Handle()));
        EXPECT_EQ(TextOf(wait.Handle()), WaitRunTitle(static_cast<uint8_t>(type))) << type;
    }
    EXPECT_EQ(WaitRunTitle(2), L"Запись данных ЭКГ");
}

TEST(TFWaitRun, NextStepsTheBarAndStartsOverAfterTwentyFive) {
    TFWaitRun wait;
    wait.Show();
    HWND bar = FindWindowExW(wait.Handle(), nullptr, PROGRESS_CLASSW, nullptr);
    HWND label = FindWindowExW(wait.Handle(), nullptr, L"Static", nullptr);
    ASSERT_TRUE(bar && label);
    for (int step = 1; step <= 26; ++step) {
        const std::wstring text = L"Шаг " + std::to_wstring(step);
        wait.Next(-7, text);
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), step <= 25 ? step : 1) << step;
        EXPECT_EQ(TextOf(label), text);
    }
}

}  // namespace
