// "Начать установку" with an install folder on a disk too small for the
// package: the real installer says so in an error box and stays on the
// options page with nothing written. Needs the small file system that the
// test run mounts (VH_SMALL_DISK); without one the case skips.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/driver_warning.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/small_disk.h"
#include "tests/kit/temp_folder.h"

namespace {

constexpr uint64_t kMiB = 1 << 20;

TEST(Preflight, ADiskTooSmallForThePackageIsToldBeforeAnythingIsWritten) {
    const std::wstring disk = SmallDisk();
    if (disk.empty())
        GTEST_SKIP() << "no small file system mounted at VH_SMALL_DISK (mounting one needs root); tested without "
                        "it: Preflight.OneByteTooLittleIsRefusedAndExactlyEnoughIsNot (faults_tests)";
    TempFolder temp;
    PackageOptions options;
    options.standInFolder = L"" VH_BUILD_DIR;
    options.databaseSize = 12 * kMiB;
    BuildPackage(temp.path(), options);
    const std::wstring exe = temp / L"VelmoraSetup.exe";
    ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe.c_str(), FALSE));
    const std::wstring install = disk + L"e2e\\Holter\\";
    ASSERT_TRUE(CreateDirectoryW((disk + L"e2e").c_str(), nullptr));

    {
        Wizard w(exe);
        GoToOptions(w, install);

        ULARGE_INTEGER available{};
        ASSERT_TRUE(GetDiskFreeSpaceExW(install.c_str(), &available, nullptr, nullptr));
        w.Click(L"Начать установку");
        const MessageBoxInfo box = w.WaitForMessageBox();
        ASSERT_TRUE(box.hwnd) << "no box about the disk";
        EXPECT_EQ(box.title, L"Установка комплекса \"Velmora-Холтер\"");
        const std::wstring start =
            L"Недостаточно места на диске " + disk + L" для установки программы!\r\nТребуется ";
        const std::wstring end = L" МБ, доступно " + std::to_wstring(available.QuadPart / kMiB) + L" МБ.";
        EXPECT_EQ(box.text.substr(0, start.size()), start) << box.text;
        ASSERT_GT(box.text.size(), end.size());
        EXPECT_EQ(box.text.substr(box.text.size() - end.size()), end) << box.text;
        // The database alone and the margin: more than 13 MB.
        EXPECT_GE(std::stoi(box.text.substr(start.size())), 14) << box.text;
        w.Answer(box, IDOK);

        HWND install_button = w.FindControl(L"Button", L"Начать установку", 2s);
        EXPECT_TRUE(install_button) << "the options page stays";
        EXPECT_TRUE(IsWindowVisible(install_button));
        EXPECT_FALSE(w.FindControlOfClass(L"ListBox")) << "the progress page is not shown";
        PostMessageW(w.Main(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(w.WaitForExit(10s)) << "closing is allowed: the installation never began";
    }
    // The folder page made the folder and its settings folder; nothing more.
    EXPECT_TRUE(PathExists(install + L"Settings"));
    EXPECT_FALSE(PathExists(install + L"Settings\\holter.ini"));
    EXPECT_FALSE(PathExists(install + L"DTAfb"));
    RemoveTree(disk + L"e2e");
}

}  // namespace
