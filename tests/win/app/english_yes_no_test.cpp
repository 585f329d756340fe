// "Yes" and "No" on the driver question's box: real message boxes shown on
// the test's thread while a second thread looks at them and answers with
// the keyboard, as a user would.
#include "app/english_yes_no.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kTitle[] = L"Установка комплекса \"Velmora-Холтер\"";

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256];
    return std::wstring(text, static_cast<size_t>(GetWindowTextW(hwnd, text, 256)));
}

// What a box shows apart from its two captions.
struct BoxLook {
    std::wstring title, yes, no;
    std::vector<std::wstring> children;  // class, id and style of each
    HWND owner = nullptr;
    bool ownerEnabled = true;
    bool operator==(const BoxLook&) const = default;
};

BOOL CALLBACK AddChild(HWND child, LPARAM param) {
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(
        std::wstring(cls) + L" " + std::to_wstring(GetDlgCtrlID(child)) + L" " +
        std::to_wstring(GetWindowLongW(child, GWL_STYLE) & ~WS_TABSTOP));
    return TRUE;
}

// Polls until done() holds; false after the timeout.
template <typename Done>
bool WaitFor(Done done, std::chrono::milliseconds timeout) {
    for (auto end = std::chrono::steady_clock::now() + timeout; !done(); Sleep(10))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// The window that has the keyboard focus on box's thread.
HWND FocusOf(HWND box) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
    return info.hwndFocus;
}

// Ends a standard box as its No button would.
BOOL CALLBACK PressNo(HWND box, LPARAM) {
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    return TRUE;
}

// Shows a question box owned by owner while a second thread records its
// look and, once the keyboard focus is inside the box, presses key (a
// virtual-key code) in it; returns the answer. A box that never takes the
// focus or ignores the key fails the test and is closed with a button
// command, so no box stays open.
int AskAndPress(HWND owner, WPARAM key, BoxLook& look) {
    const DWORD asker = GetCurrentThreadId();
    std::thread user([&] {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindWindowW(L"#32770", kTitle)) && IsWindowVisible(box); }, 10s)) {
            ADD_FAILURE() << "no box appeared";
            // Whatever dialog the asking thread shows instead must not stay.
            EnumThreadWindows(asker, PressNo, 0);
            return;
        }
        HWND focus = nullptr;
        if (!WaitFor([&] { return (focus = FocusOf(box)) && IsChild(box, focus); }, 10s)) {
            ADD_FAILURE() << "the keyboard focus never entered the box";
            PressNo(box, 0);
            return;
        }
        look.title = TextOf(box);
        look.yes = TextOf(GetDlgItem(box, IDYES));
        look.no = TextOf(GetDlgItem(box, IDNO));
        EnumChildWindows(box, AddChild, reinterpret_cast<LPARAM>(&look.children));
        look.owner = GetWindow(box, GW_OWNER);
        look.ownerEnabled = IsWindowEnabled(owner);
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_CHAR, key == VK_RETURN ? L'\r' : static_cast<WPARAM>(std::towlower(key)), 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        if (!WaitFor([&] { return !IsWindow(box); }, 10s)) {
            ADD_FAILURE() << "the key did not close the box";
            PressNo(box, 0);
        }
    });
    const int answer =
        MessageBoxW(owner, L"Подключите интерфейсный блок и нажмите \"Yes\"?", kTitle, MB_YESNO | MB_ICONQUESTION);
    user.join();
    return answer;
}

TEST(ScopedEnglishYesNo, RenamesTheFirstBoxOnlyAndKeepsEverythingElse) {
    HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(owner);

    BoxLook platform;
    EXPECT_EQ(AskAndPress(owner, VK_RETURN, platform), IDYES) << "Enter presses the default Yes";
    ASSERT_FALSE(platform.yes.empty()) << "the box was seen";
    // Under English settings the platform itself says "&Yes", and the
    // renaming below would prove nothing: the run uses Russian ones.
    ASSERT_NE(platform.yes, L"&Yes") << "run under Russian regional settings (LC_ALL=ru_RU.UTF-8)";
    ASSERT_NE(platform.no, L"&No");
    EXPECT_EQ(platform.owner, owner);
    EXPECT_FALSE(platform.ownerEnabled) << "the box is modal to its owner";

    BoxLook english, later;
    {
        const ScopedEnglishYesNo captions;
        EXPECT_EQ(AskAndPress(owner, 'N', english), IDNO) << "N presses the renamed No";
        EXPECT_EQ(AskAndPress(owner, VK_RETURN, later), IDYES);
    }
    EXPECT_EQ(english.yes, L"&Yes");
    EXPECT_EQ(english.no, L"&No");
    BoxLook englishButPlatformCaptions = english;
    englishButPlatformCaptions.yes = platform.yes;
    englishButPlatformCaptions.no = platform.no;
    EXPECT_EQ(englishButPlatformCaptions, platform) << "title, icon, buttons, owner and modality stay";
    EXPECT_EQ(later, platform) << "a second box in the same scope keeps the platform's captions";

    BoxLook after;
    EXPECT_EQ(AskAndPress(owner, VK_RETURN, after), IDYES);
    EXPECT_EQ(after, platform) << "the hook is gone with its scope";
    DestroyWindow(owner);
}

}  // namespace
