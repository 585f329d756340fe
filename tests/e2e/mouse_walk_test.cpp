// The wizard walked with real mouse clicks and keystrokes at small, large
// and extra-large fonts: every button and check box a person uses on the
// way, and on every page no control lies under another window.
#include <gtest/gtest.h>

#include "base/strings.h"
#include "base/utf8.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/temp_folder.h"

namespace {

constexpr wchar_t kCancelQuestion[] = L"Вы уверены, что хотите отменить процесс установки?";
constexpr wchar_t kDriverQuestion[] = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
constexpr wchar_t kFinalQuestion[] = L"Установка завершена. Выйти из программы установки?";
// The standard box's captions under Russian regional settings.
constexpr wchar_t kPlatformYesNo[] = L"&Да / &Нет";

void ExpectEveryControlReachable(const Wizard& w, const char* page) {
    // The page has finished showing once the installer answers again.
    ASSERT_TRUE(w.Settle()) << page << ": the installer does not answer";
    for (const std::wstring& covered : CoveredControls(w.Main())) ADD_FAILURE() << page << ": " << ToUtf8(covered);
}

// The captions of a box's Yes and No buttons.
std::wstring Captions(const MessageBoxInfo& box) {
    return TextOf(GetDlgItem(box.hwnd, IDYES)) + L" / " + TextOf(GetDlgItem(box.hwnd, IDNO));
}

class MouseWalkTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override { install_ = temp_ / L"Мышь"; }

    std::wstring CopyInstaller() {
        const std::wstring exe = temp_ / L"VelmoraSetup.exe";
        EXPECT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe.c_str(), FALSE));
        return exe;
    }

    // From the welcome page to the folder page; returns the folder field.
    HWND GoToFolder(const Wizard& w) {
        w.MouseClick(L"Далее");
        HWND path = w.FindControl(L"Edit", L"C:\\Holter");
        if (path) ExpectEveryControlReachable(w, "folder page");
        return path;
    }

    // Types the install folder over the field's text and goes on to the
    // options page, closing the driver warning; all with mouse and keyboard.
    void FillInFolderAndGoOn(const Wizard& w, HWND path) {
        Wizard::MouseClick(path);
        Wizard::PressKey(path, VK_END);
        Wizard::PressKey(path, VK_HOME, true);
        Wizard::TypeText(path, install_);
        ASSERT_TRUE(Wizard::WaitUntil([&] { return TextOf(path) == install_; }, 5s)) << ToUtf8(TextOf(path));
        w.MouseClick(L"Далее");
        const MessageWindowInfo warning = w.WaitForMessageWindow();
        ASSERT_TRUE(warning.hwnd) << "the driver warning";
        w.PressOkWithMouse(warning);
        ASSERT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    }

    ScreenDpiForNewProcesses dpi_{static_cast<DWORD>(GetParam())};
    TempFolder temp_;
    std::wstring install_;
};

TEST_P(MouseWalkTest, ClearsTheDriverBoxGoesBackAndCancels) {
    Wizard w(CopyInstaller());
    ExpectEveryControlReachable(w, "welcome page");
    w.MouseClick(L"Отмена");
    MessageBoxInfo box = w.WaitForMessageBox();
    ASSERT_EQ(box.text, kCancelQuestion);
    w.AnswerWithMouse(box, IDNO);

    HWND path = GoToFolder(w);
    ASSERT_TRUE(path);
    w.MouseClick(L"Выбрать");
    const MessageBoxInfo dialog = w.WaitForMessageBox();
    ASSERT_TRUE(dialog.hwnd) << "the folder dialog opens";
    w.AnswerWithMouse(dialog, IDCANCEL);
    EXPECT_EQ(TextOf(path), L"C:\\Holter");
    w.MouseClick(L"Отмена");
    box = w.WaitForMessageBox();
    ASSERT_EQ(box.text, kCancelQuestion);
    w.AnswerWithMouse(box, IDNO);
    EXPECT_TRUE(w.FindControl(L"Button", L"Выбрать", 1s)) << "No stays on the folder page";

    ASSERT_NO_FATAL_FAILURE(FillInFolderAndGoOn(w, path));
    ExpectEveryControlReachable(w, "options page");
    HWND driver = w.FindControl(L"Button", L"Устанавливать драйвер");
    ASSERT_TRUE(driver);
    ASSERT_TRUE(IsChecked(driver));
    Wizard::MouseClick(driver);
    EXPECT_TRUE(Wizard::WaitUntil([&] { return !IsChecked(driver); }, 5s)) << "a click clears the driver box";
    ExpectEveryControlReachable(w, "options page, driver box cleared");

    w.MouseClick(L"Назад");
    ASSERT_TRUE(w.FindControl(L"Button", L"Выбрать"));
    EXPECT_EQ(TextOf(path), install_ + L"\\");
    w.MouseClick(L"Далее");
    const MessageWindowInfo warning = w.WaitForMessageWindow();
    ASSERT_TRUE(warning.hwnd);
    w.PressOkWithMouse(warning);
    EXPECT_FALSE(IsChecked(driver)) << "the box keeps its state";
    Wizard::MouseClick(driver);
    EXPECT_TRUE(Wizard::WaitUntil([&] { return IsChecked(driver); }, 5s)) << "a second click ticks it again";

    w.MouseClick(L"Отмена");
    box = w.WaitForMessageBox();
    ASSERT_EQ(box.text, kCancelQuestion);
    w.AnswerWithMouse(box, IDYES);
    ASSERT_TRUE(w.FindControl(L"Button", L"Выход"));
    ExpectEveryControlReachable(w, "cancelled page");
    w.MouseClick(L"Выход");
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

// The driver question shows "Yes" and "No" although the system's boxes
// speak Russian; the other questions keep the platform's captions.
TEST_P(MouseWalkTest, InstallsAnsweringEveryQuestionWithTheMouse) {
    PackageOptions options;
    options.standInFolder = L"" VH_BUILD_DIR;
    BuildPackage(temp_.path(), options);
    Wizard w(CopyInstaller());
    HWND path = GoToFolder(w);
    ASSERT_TRUE(path);
    ASSERT_NO_FATAL_FAILURE(FillInFolderAndGoOn(w, path));
    w.MouseClick(L"Начать установку");

    MessageBoxInfo box = w.WaitForMessageBox(60s);
    ASSERT_EQ(box.text, kDriverQuestion);
    EXPECT_EQ(Captions(box), L"&Yes / &No");
    w.AnswerWithMouse(box, IDYES);

    if (GetParam() < 100) {
        // Small fonts: the large-font page. Without a syssetup.dll in the
        // system folder the change fails and its box says so (the restart
        // question that follows a change is never answered Yes in a test:
        // that would end every process of the machine).
        HWND change = w.FindControl(L"Button", L"Изменить настройки", 60s);
        ASSERT_TRUE(change);
        ExpectEveryControlReachable(w, "large-font page");
        Wizard::MouseClick(change);
        box = w.WaitForMessageBox();
        ASSERT_TRUE(box.hwnd);
        EXPECT_EQ(box.text.rfind(L"Не удалось изменить размер шрифта: ", 0), 0u) << ToUtf8(box.text);
        w.AnswerWithMouse(box, IDOK);
    } else {
        box = w.WaitForMessageBox(60s);
        ASSERT_EQ(box.text, kFinalQuestion);
        EXPECT_EQ(Captions(box), kPlatformYesNo);
        w.AnswerWithMouse(box, IDNO);
        ExpectEveryControlReachable(w, "progress page");
    }
    EXPECT_TRUE(PathExists(temp_ / L"FTDIDriverInstall\\FTDIDriverInstall.done"))
        << "Yes ran the driver installer";
    w.MouseClick(L"Выход");
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(Dpi, MouseWalkTest, testing::Values(96, 120, 144),
                         [](const testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

}  // namespace
