// The launch-progress window that the installer creates at start-up.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/kit/temp_folder.h"

namespace {

struct HiddenSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindWaitRun(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<HiddenSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && ClassOf(hwnd) == L"TFWaitRun") {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

TEST(LaunchProgress, CreatedHiddenAtStartUp) {
    TempFolder temp;
    const std::wstring exe = temp / L"VelmoraSetup.exe";
    ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe.c_str(), FALSE));
    Wizard w(exe);
    HiddenSearch s{w.ProcessId(), nullptr};
    Wizard::WaitUntil([&] {
        EnumWindows(FindWaitRun, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
    });
    ASSERT_TRUE(s.found);
    EXPECT_FALSE(IsWindowVisible(s.found));
    EXPECT_EQ(TextOf(s.found), L"Launching ");
    PostMessageW(w.Main(), WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(w.WaitForExit(10s, &code)) << "the hidden window does not keep the installer running";
    EXPECT_EQ(code, 0u);
}

}  // namespace
