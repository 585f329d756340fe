#pragma once
// A package laid out in a temporary folder with the installer beside it,
// the folder to install into, and the desktop shortcut a full run leaves.

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <string>

#include "base/strings.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/temp_folder.h"

inline std::wstring DesktopShortcut() {
    wchar_t desktop[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
    return WithTrailingBackslash(desktop) + L"Velmora - Холтер.lnk";
}

class InstallerPackageTest : public testing::Test {
protected:
    void SetUp() override { install_ = temp_ / L"Holter\\"; }
    // Each full run puts the package's shortcut on the desktop.
    void TearDown() override { DeleteFileW(DesktopShortcut().c_str()); }

    void Build(PackageOptions options = {}) {
        options.standInFolder = L"" VH_BUILD_DIR;
        BuildPackage(temp_.path(), options);
        ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe().c_str(), FALSE));
    }
    std::wstring exe() const { return temp_ / L"VelmoraSetup.exe"; }

    // At large fonts a run ends with the completion question; small fonts
    // lead to the large-font page (or, unattended, its recommendation).
    ScreenDpiForNewProcesses largeFonts_{120};
    TempFolder temp_;
    std::wstring install_;
};
