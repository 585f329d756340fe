// The installer's own message window as the user meets it: the driver
// warning on the options page, at small and at large fonts.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/driver_warning.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/temp_folder.h"

namespace {

class MessageWindowTest : public testing::Test {
protected:
    void SetUp() override {
        exe_ = temp_ / L"VelmoraSetup.exe";
        ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe_.c_str(), FALSE));
    }

    // Walks to the options page with a fresh folder; the warning is then up.
    void GoToOptions(const Wizard& w) {
        w.Click(L"Далее");
        HWND path = w.FindControl(L"Edit", L"C:\\Holter");
        ASSERT_TRUE(path);
        SetText(path, temp_ / L"Holter");
        w.Click(L"Далее");
        ASSERT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    }

    TempFolder temp_;
    std::wstring exe_;
};

TEST_F(MessageWindowTest, DriverWarningHoldsTheWizardAndCountsDownFromTwenty) {
    Wizard w(exe_);
    GoToOptions(w);
    const MessageWindowInfo warning = w.WaitForMessageWindow();
    ASSERT_TRUE(warning.hwnd);
    EXPECT_EQ(warning.text, kDriverWarning);
    EXPECT_TRUE(GetWindowLongW(warning.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowEnabled(w.Main())) << "the wizard waits for the warning";
    EXPECT_TRUE(FindWindowExW(warning.hwnd, nullptr, L"Button", L"остановить"));
    EXPECT_TRUE(FindWindowExW(warning.hwnd, nullptr, L"Static", L"Окно закроется через"));
    HWND seconds = GetDlgItem(warning.hwnd, 104);
    ASSERT_TRUE(seconds);
    EXPECT_TRUE(Wizard::WaitUntil([&] { return TextOf(seconds) == L"  19с"; }, 3s))
        << "the default period is 20 seconds; now " << testing::PrintToString(TextOf(seconds));
    w.PressOk(warning);
    EXPECT_TRUE(Wizard::WaitUntil([&] { return IsWindowEnabled(w.Main()) != FALSE; }));
    EXPECT_TRUE(w.FindControl(L"Button", L"Начать установку", 1s)) << "the options page stays";

    w.Click(L"Назад");
    ASSERT_TRUE(w.FindControl(L"Button", L"Выбрать"));
    w.Click(L"Далее");
    DismissDriverWarning(w);
}

// The window follows the screen's logical resolution; the pixel sizes are
// designed at 96 dots per inch.
TEST_F(MessageWindowTest, WarningScalesWithTheScreenResolution) {
    struct {
        DWORD dpi;
        int labelWidth;
        int okWidth;
    } const cases[] = {{96, 446, 70}, {120, 558, 88}};
    for (const auto& c : cases) {
        ScreenDpiForNewProcesses dpi(c.dpi);
        Wizard w(exe_);
        GoToOptions(w);
        const MessageWindowInfo warning = w.WaitForMessageWindow();
        ASSERT_TRUE(warning.hwnd) << c.dpi;
        RECT label, ok, window;
        GetWindowRect(GetDlgItem(warning.hwnd, 101), &label);
        GetWindowRect(FindWindowExW(warning.hwnd, nullptr, L"Button", L"OK"), &ok);
        GetWindowRect(warning.hwnd, &window);
        EXPECT_EQ(label.right - label.left, c.labelWidth) << c.dpi;
        EXPECT_EQ(ok.right - ok.left, c.okWidth) << c.dpi;
        EXPECT_EQ(window.bottom, GetSystemMetrics(SM_CYSCREEN) / 2) << c.dpi;
        w.PressOk(warning);
    }
}

}  // namespace
