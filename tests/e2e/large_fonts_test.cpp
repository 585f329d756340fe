// The end of an installation at small and at large fonts, and the switch to
// large fonts, with a stand-in syssetup.dll planted beside the installer.
// The restart question is never answered Yes here: that would end every
// process of the test machine.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/driver_warning.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/temp_folder.h"

namespace {

constexpr wchar_t kDriverQuestion[] = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
constexpr wchar_t kRestartQuestion[] =
    L"Изменения в настройки внесены, для того чтобы они\r\n"
    L"вступили в силу, требуется перзагрузить операционную систему.\r\n"
    L"Выполнить перезагрузку сейчас?";
constexpr wchar_t kLargeFontPage[] =
    L"В настройках операционной системы Вашего компьютера выбрано использование \r\n"
    L"\"мелкого\" размера шрифта.\r\n\r\n"
    L"Для корректной работы программы \"Velmora-Холтер\" требуется использование \r\n"
    L"\"крупного\" размера шрифта.\r\n\r\n"
    L"Рекомендуется произвести изменения. Для этого надо нажать кнопку \"Изменить \r\n"
    L"настройки\". В появившемся окне надо ответить \"Да\".\r\n\r\n"
    L"Если Вы считаете, что установка \"крупного\" размера шрифта Вам не нужна, \r\n"
    L"нажмите кнопку \"Выход\".";

constexpr wchar_t kChangeRefused[] = L"Не удалось изменить размер шрифта: ";

// A DLL copied into the system folder for one test; it and the markers it
// leaves there are removed again.
class SystemFolderStandIn {
public:
    SystemFolderStandIn(const std::wstring& source, const std::wstring& name) {
        wchar_t system[MAX_PATH];
        folder_.assign(system, GetSystemDirectoryW(system, MAX_PATH));
        folder_ += L"\\";
        path_ = folder_ + name;
        placed_ = !PathExists(path_) && CopyFileW(source.c_str(), path_.c_str(), TRUE);
    }
    ~SystemFolderStandIn() {
        if (!placed_) return;
        DeleteFileW(path_.c_str());
        for (const wchar_t* marker : {L"planted_dll_loaded", L"planted_dll_called"})
            DeleteFileW((folder_ + marker).c_str());
    }
    SystemFolderStandIn(const SystemFolderStandIn&) = delete;
    SystemFolderStandIn& operator=(const SystemFolderStandIn&) = delete;

    bool placed() const { return placed_; }
    const std::wstring& folder() const { return folder_; }

private:
    std::wstring folder_, path_;
    bool placed_ = false;
};

class LargeFontsTest : public testing::Test {
protected:
    void SetUp() override {
        PackageOptions options;
        options.standInFolder = L"" VH_BUILD_DIR;
        BuildPackage(temp_.path(), options);
        ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, (temp_ / L"VelmoraSetup.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(L"" VH_BUILD_DIR "/planted_syssetup.dll", (temp_ / L"syssetup.dll").c_str(), FALSE));
    }

    // Installs into a fresh folder, declining the driver step, until the
    // installation ends: on a box other than the driver question, which it
    // returns, or on the large-font page (no box).
    MessageBoxInfo Install(const Wizard& w) {
        w.Click(L"Далее");
        HWND path = w.FindControl(L"Edit", L"C:\\Holter");
        if (!path) return {};
        SetText(path, temp_ / L"Holter");
        w.Click(L"Далее");
        DismissDriverWarning(w);
        w.Click(L"Начать установку");
        for (;;) {
            MessageBoxInfo box;
            Wizard::WaitUntil(
                [&] {
                    box = w.WaitForMessageBox(0ms);
                    return box.hwnd || w.FindControl(L"Button", L"Изменить настройки", 0ms);
                },
                60s);
            if (box.text != kDriverQuestion) return box;
            w.Answer(box, IDNO);
        }
    }

    TempFolder temp_;
};

TEST_F(LargeFontsTest, SmallFontsEndOnTheLargeFontPageWhichRestartsOnlyAfterAChange) {
    ScreenDpiForNewProcesses smallFonts(96);
    Wizard w(temp_ / L"VelmoraSetup.exe");
    const MessageBoxInfo box = Install(w);
    EXPECT_FALSE(box.hwnd) << "no question at small fonts: " << testing::PrintToString(box.text);
    HWND change = w.FindControl(L"Button", L"Изменить настройки");
    ASSERT_TRUE(change) << "the large-font page follows the installation";
    HWND leave = w.FindControl(L"Button", L"Выход");
    ASSERT_TRUE(leave);
    HWND page = w.FindControlOfClass(L"Edit");
    ASSERT_TRUE(page);
    EXPECT_EQ(TextOf(page), kLargeFontPage);

    // Without a syssetup.dll in the system folder the change fails: the box
    // says so and no restart is asked for; the planted copy never runs.
    for (int press = 0; press < 2; ++press) {
        w.Click(change);
        const MessageBoxInfo refused = w.WaitForMessageBox();
        ASSERT_TRUE(refused.hwnd) << press;
        EXPECT_EQ(refused.text.rfind(kChangeRefused, 0), 0u) << testing::PrintToString(refused.text);
        EXPECT_TRUE(refused.text.ends_with(L".\r\nИзмените размер шрифта вручную в настройках экрана Windows."));
        w.Answer(refused, IDOK);
        EXPECT_FALSE(w.WaitForMessageBox(500ms).hwnd) << "no restart question after a failed change";
        EXPECT_TRUE(IsWindowVisible(change) && IsWindowEnabled(change)) << press;
        EXPECT_TRUE(IsWindowEnabled(leave)) << press;
    }
    EXPECT_FALSE(PathExists(temp_ / L"planted_dll_loaded"));
    EXPECT_FALSE(PathExists(temp_ / L"planted_dll_called"));

    // A stand-in in the system folder makes the change: now the restart
    // question comes, and No stays.
    {
        const SystemFolderStandIn syssetup(L"" VH_BUILD_DIR "/planted_syssetup.dll", L"syssetup.dll");
        ASSERT_TRUE(syssetup.placed());
        w.Click(change);
        const MessageBoxInfo restart = w.WaitForMessageBox();
        ASSERT_TRUE(restart.hwnd);
        EXPECT_EQ(restart.text, kRestartQuestion);
        EXPECT_TRUE(GetDlgItem(restart.hwnd, IDYES) && GetDlgItem(restart.hwnd, IDNO));
        EXPECT_TRUE(PathExists(syssetup.folder() + L"planted_dll_called")) << "the system folder's copy ran";
        w.Answer(restart, IDNO);
        EXPECT_TRUE(IsWindowVisible(change) && IsWindowEnabled(change));
    }

    w.Click(leave);
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(LargeFontsTest, LargeFontsAskTheCompletionQuestionAndYesEnds) {
    ScreenDpiForNewProcesses largeFonts(120);
    Wizard w(temp_ / L"VelmoraSetup.exe");
    const MessageBoxInfo box = Install(w);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text, L"Установка завершена. Выйти из программы установки?");
    EXPECT_FALSE(w.FindControl(L"Button", L"Изменить настройки", 0ms));
    w.Answer(box, IDYES);
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
