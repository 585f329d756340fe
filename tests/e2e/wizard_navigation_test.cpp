// The wizard's pages and navigation, driven through the real installer.
#include <gtest/gtest.h>

#include "base/strings.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/driver_warning.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

// An installer folder holding only the installer.
class WizardTest : public testing::Test {
protected:
    void SetUp() override {
        exe_ = temp_ / L"VelmoraSetup.exe";
        ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe_.c_str(), FALSE));
    }
    TempFolder temp_;
    std::wstring exe_;
};

// The text box of the visible page.
std::wstring PageText(const Wizard& w) {
    HWND memo = nullptr;
    Wizard::WaitUntil([&] {
        memo = w.FindControlOfClass(L"Edit");
        return memo && (GetWindowLongW(memo, GWL_STYLE) & ES_READONLY);
    });
    return memo ? TextOf(memo) : L"";
}

// A child's rectangle in the client coordinates of its parent.
RECT PlaceOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string PlaceText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

TEST_F(WizardTest, OpensOnTheWelcomePageWithItsTitlesAndSize) {
    Wizard w(exe_);
    EXPECT_EQ(TextOf(w.Main()), L"Установка комплекса");
    HWND app = FindTopWindow(w.ProcessId(), L"TApplication");
    ASSERT_TRUE(app);
    EXPECT_EQ(TextOf(app), L"Установка комплекса \"Velmora-Холтер\"");
    RECT client;
    GetClientRect(w.Main(), &client);
    EXPECT_EQ(client.right, 954);
    EXPECT_EQ(client.bottom, 579);
    EXPECT_EQ(PageText(w),
              L"Добро пожаловать в программу установки комплекса \r\n\"VELMORA-ХОЛТЕР\"!\r\n\r\n"
              L"Для продолжения установки, нажмите кнопку \"Далее\".\r\n\r\n"
              L"Для выхода из программы установки нажмите кнопку \"Отмена\".");
    EXPECT_TRUE(w.FindControl(L"Button", L"Далее"));
    EXPECT_TRUE(w.FindControl(L"Button", L"Отмена"));

    // The side panel and the page control lie on the drawn panels.
    HWND side = FindWindowExW(w.Main(), nullptr, L"RICHEDIT50W", nullptr);
    ASSERT_TRUE(side);
    EXPECT_EQ(PlaceText(PlaceOf(side)), "16,110 282x441");
    HWND pages = FindWindowExW(w.Main(), nullptr, L"VhPanel", nullptr);
    ASSERT_TRUE(pages);
    EXPECT_EQ(PlaceText(PlaceOf(pages)), "320,110 619x441");
}

TEST_F(WizardTest, WalksThroughValidationBackAndCancelToExit) {
    Wizard w(exe_);
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    ASSERT_TRUE(path) << "the folder field shows the default folder";
    EXPECT_EQ(PageText(w),
              L"Пожалуйста, задайте путь куда устанавливать программную часть \r\nкомплекса \"Velmora-Холтер\"");

    SetText(path, L"   ");
    w.Click(L"Далее");
    MessageBoxInfo box = w.WaitForMessageBox();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, L"Не выбран путь для установки программы!");
    w.Answer(box, IDOK);

    SetText(path, L"C:");
    w.Click(L"Далее");
    box = w.WaitForMessageBox();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, L"Программу нелзя устанавливать в корневой каталог!");
    w.Answer(box, IDOK);
    EXPECT_EQ(TextOf(path), L"C:\\");

    // A relative folder is refused and nothing is made beside the installer.
    SetText(path, L"Holter");
    w.Click(L"Далее");
    box = w.WaitForMessageBox();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, L"Задайте полный путь для установки программы (например, C:\\Holter)!");
    w.Answer(box, IDOK);
    EXPECT_EQ(TextOf(path), L"Holter\\");
    EXPECT_TRUE(w.FindControl(L"Button", L"Выбрать", 2s)) << "the folder page stays";
    EXPECT_FALSE(PathExists(temp_ / L"Holter")) << "no folder beside the installer";

    const std::wstring target = temp_ / L"Установка";
    SetText(path, L"  " + target + L"  ");
    w.Click(L"Далее");
    ASSERT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    DismissDriverWarning(w);
    EXPECT_EQ(PageText(w),
              L" - Если у Вас есть 2-х канальный кабель для регистрации детских ЭКГ, поставьте \r\n"
              L"галочку в поле \"Регистрация 2-х канальной ЭКГ\".\r\n"
              L" - Если у Вас есть универсальный регистратор, поставьте галочку в поле \r\n"
              L"\"Универсальный регистратор\".\r\n"
              L" - Если у Вас установлен монитор АД \"BPLab\", поставьте галочку в поле \"установлен \r\n"
              L"монитор АД \"BPLab\"\".\r\n\r\n"
              L" - Задайте, пожалуйста, тип ЭКГ, который Вы чаще всего будете регистрировать.\r\n\r\n"
              L" - Нажмите кнопку \"Начать установку\", для того чтобы установить программное \r\n"
              L"обеспечение на Ваш компъютер.\r\n\r\n"
              L"Все настройки можно изменить позже, во время работы с программой \r\n"
              L"\"Velmora-Холтер\" в меню \"Настройки\".");
    EXPECT_EQ(TextOf(path), target + L"\\");
    EXPECT_TRUE(PathExists(target + L"\\Settings"));
    HWND driver = w.FindControl(L"Button", L"Устанавливать драйвер");
    ASSERT_TRUE(driver);
    EXPECT_TRUE(IsChecked(driver));

    w.Click(L"Назад");
    ASSERT_TRUE(w.FindControl(L"Button", L"Выбрать"));
    EXPECT_EQ(TextOf(path), target + L"\\");
    w.Click(L"Далее");
    ASSERT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    DismissDriverWarning(w);  // again on every showing of the page

    w.Click(L"Отмена");
    box = w.WaitForMessageBox();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, L"Вы уверены, что хотите отменить процесс установки?");
    w.Answer(box, IDNO);
    EXPECT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    EXPECT_TRUE(IsChecked(driver));

    w.Click(L"Отмена");
    box = w.WaitForMessageBox();
    ASSERT_TRUE(box.hwnd);
    w.Answer(box, IDYES);
    EXPECT_EQ(PageText(w),
              L"Установка комплекса \"Velmora-Холтер\" отменена!\r\n\r\n"
              L"Нажмите кнопку \"Выход\", для выхода из программы установки.");
    EXPECT_TRUE(PathExists(target + L"\\Settings")) << "cancelling removes nothing";
    w.Click(L"Выход");
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(WizardTest, CloseBoxOnTheWelcomePageClosesAtOnce) {
    Wizard w(exe_);
    PostMessageW(w.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(w.WaitForExit(10s));
}

// A relative folder would land wherever the current folder is when each
// step runs: refused, and nothing is made, neither beside the installer nor
// in the folder it was started from.
TEST_F(WizardTest, RelativeFolderIsRefusedAndNothingIsMade) {
    TempFolder elsewhere;
    Wizard w(exe_, elsewhere.path());
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    ASSERT_TRUE(path);
    SetText(path, L"Relative");
    w.Click(L"Далее");
    const MessageBoxInfo box = w.WaitForMessageBox();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, L"Задайте полный путь для установки программы (например, C:\\Holter)!");
    w.Answer(box, IDOK);
    EXPECT_TRUE(w.FindControl(L"Button", L"Выбрать", 2s)) << "the folder page stays";
    EXPECT_FALSE(PathExists(temp_ / L"Relative"));
    EXPECT_FALSE(PathExists(elsewhere / L"Relative"));
}

TEST_F(WizardTest, ParentMissingIsAcceptedWithoutCreatingAnything) {
    Wizard w(exe_);
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    ASSERT_TRUE(path);
    SetText(path, temp_ / L"missing\\deeper");
    w.Click(L"Далее");
    ASSERT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    DismissDriverWarning(w);
    EXPECT_FALSE(PathExists(temp_ / L"missing"));
}

BOOL CALLBACK FindDialogTitle(HWND child, LPARAM found) {
    if (TextOf(child) == L"Выберете путь для установки программ") *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

TEST_F(WizardTest, FolderDialogCancelledLeavesTheField) {
    Wizard w(exe_);
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    ASSERT_TRUE(path);
    w.Click(L"Выбрать");
    MessageBoxInfo dialog = w.WaitForMessageBox();
    ASSERT_TRUE(dialog.hwnd) << "the folder dialog opens";
    bool titled = false;
    EnumChildWindows(dialog.hwnd, FindDialogTitle, reinterpret_cast<LPARAM>(&titled));
    EXPECT_TRUE(titled);
    w.Answer(dialog, IDCANCEL);
    EXPECT_EQ(TextOf(path), L"C:\\Holter");
}

// Enter presses the page's forward button, Esc its "Отмена".
TEST_F(WizardTest, KeyboardEnterGoesOnAndEscapeAsksToCancel) {
    Wizard w(exe_);
    // Keys go to the control with the focus, once it rests on the expected one.
    auto press = [&](WPARAM key, std::wstring_view focusedClass) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(Wizard::WaitUntil([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(w.Main(), nullptr), &info) && info.hwndFocus &&
                   IsWindowVisible(info.hwndFocus) && ClassOf(info.hwndFocus) == focusedClass;
        })) << "focus: "
            << testing::PrintToString(ClassOf(info.hwndFocus) + L" " + TextOf(info.hwndFocus));
        PostMessageW(info.hwndFocus, WM_KEYDOWN, key, 1);
        PostMessageW(info.hwndFocus, WM_KEYUP, key, 0xC0000001);
    };
    press(VK_RETURN, L"Button");  // "Далее"
    ASSERT_TRUE(w.FindControl(L"Button", L"Выбрать"));
    press(VK_ESCAPE, L"Edit");  // the folder field

    MessageBoxInfo box = w.WaitForMessageBox();
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, L"Вы уверены, что хотите отменить процесс установки?");
    w.Answer(box, IDNO);
    EXPECT_TRUE(w.FindControl(L"Button", L"Выбрать"));
}

}  // namespace
