// The launch-progress window that the installer creates at start-up.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/kit/temp_folder.h"

namespace {

TEST(LaunchProgress, CreatedHiddenAtStartUp) {
    TempFolder temp;
    const std::wstring exe = temp / L"VelmoraSetup.exe";
    ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe.c_str(), FALSE));
    Wizard w(exe);
    HWND waitRun = nullptr;
    Wizard::WaitUntil([&] { return (waitRun = FindTopWindowEvenHidden(w.ProcessId(), L"TFWaitRun")) != nullptr; });
    ASSERT_TRUE(waitRun);
    EXPECT_FALSE(IsWindowVisible(waitRun));
    EXPECT_EQ(TextOf(waitRun), L"Launching ");
    PostMessageW(w.Main(), WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code)) << "the hidden window does not keep the installer running";
    EXPECT_EQ(code, 0u);
}

}  // namespace
