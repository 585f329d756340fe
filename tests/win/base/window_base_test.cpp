// WindowBase with real windows: the object is reachable from the first
// message to the last, an error raised in a handler reaches the error report
// and not the system, and a class the system refuses raises a clear Error.
#include "base/window_base.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "base/error.h"

namespace {

int g_reports = 0;
void CountReport() noexcept {
    ++g_reports;
}

class Probe : public WindowBase<Probe> {
public:
    void Create() { CreateAttached(GetModuleHandleW(nullptr), {.style = WS_POPUP}, L"the probe"); }
    std::vector<UINT> seen;

private:
    friend class WindowBase<Probe>;
    static WindowClass Class(HINSTANCE) { return {.name = L"VhWindowBaseProbe"}; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
        seen.push_back(msg);
        if (msg == WM_APP) throw std::runtime_error("handler failed");
        if (msg == WM_APP + 1) return 42;
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
};

class NamelessClass : public WindowBase<NamelessClass> {
public:
    void Create() { CreateAttached(GetModuleHandleW(nullptr), {.style = WS_POPUP}, L"nothing"); }

private:
    friend class WindowBase<NamelessClass>;
    // An empty class name is refused by RegisterClassExW.
    static WindowClass Class(HINSTANCE) { return {.name = L""}; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
};

class WindowBaseTest : public testing::Test {
protected:
    void SetUp() override {
        g_reports = 0;
        SetCallbackErrorReport(CountReport);
    }
    void TearDown() override { SetCallbackErrorReport(nullptr); }
};

TEST_F(WindowBaseTest, ObjectSeesItsWindowFromCreationToDestructionAndErrorsGoToTheReport) {
    Probe probe;
    probe.Create();
    const HWND hwnd = probe.Handle();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_FALSE(probe.seen.empty());
    EXPECT_EQ(probe.seen.front(), static_cast<UINT>(WM_NCCREATE));

    EXPECT_EQ(SendMessageW(hwnd, WM_APP + 1, 0, 0), 42);
    EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 0);
    EXPECT_EQ(g_reports, 1);
    // The window lives on after a failed handler.
    EXPECT_EQ(SendMessageW(hwnd, WM_APP + 1, 0, 0), 42);

    DestroyWindow(hwnd);
    EXPECT_EQ(probe.seen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(probe.Handle(), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 0);
}

TEST_F(WindowBaseTest, SecondWindowOfTheClassReusesTheRegistrationAndObjectsOwnTheirWindows) {
    HWND first = nullptr;
    {
        Probe a, b;
        a.Create();
        b.Create();
        first = a.Handle();
        EXPECT_NE(a.Handle(), b.Handle());
        EXPECT_TRUE(IsWindow(first));
    }
    // Objects that go while their windows still exist take them along.
    EXPECT_FALSE(IsWindow(first));
}

TEST_F(WindowBaseTest, RefusedRegistrationRaisesErrorWithTheSystemText) {
    NamelessClass window;
    try {
        window.Create();
        FAIL() << "no error raised";
    } catch (const Error& e) {
        EXPECT_EQ(e.text().rfind(L"Cannot register the window class \"\". ", 0), 0u) << e.what();
        EXPECT_GT(e.text().size(), std::wstring(L"Cannot register the window class \"\". ").size());
    }
    EXPECT_EQ(window.Handle(), nullptr);
}

TEST_F(WindowBaseTest, GuardedCallbackReturnsItsFailureValueAndReports) {
    EXPECT_EQ(GuardCallback<BOOL>(FALSE, []() -> BOOL { throw Error(L"enumeration failed"); }), FALSE);
    EXPECT_EQ(GuardCallback<BOOL>(FALSE, [] { return TRUE; }), TRUE);
    EXPECT_EQ(g_reports, 1);
}

}  // namespace
