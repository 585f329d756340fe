// The message window, shown for real on the test's own thread while a second
// thread looks at it and presses its buttons, as a user would.
#include "shared/MessageForm.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "base/error.h"
#include "shared/ScreenMonitorManager.h"
#include "shared/screen_snapshot.h"
#include "tests/win/shared_ui/ui_kit.h"

namespace {

constexpr wchar_t kWarning[] =
    L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Velmora-Холтер\",\r снимите галочку "
    L"установки драйвера!";

// The visible message window of this process, waiting up to timeout.
HWND WaitForMessageWindow(std::chrono::milliseconds timeout = 5s) {
    HWND form = nullptr;
    WaitUntil([&] { return (form = FindWindowW(L"TFMessageform", nullptr)) && IsWindowVisible(form); }, timeout);
    return form;
}

HWND Child(HWND form, const wchar_t* cls, std::wstring_view text) {
    for (HWND c = FindWindowExW(form, nullptr, cls, nullptr); c; c = FindWindowExW(form, c, cls, nullptr))
        if (TextOf(c) == text) return c;
    return nullptr;
}

// Runs user while the test thread shows the message window.
class User {
public:
    explicit User(std::function<void()> act) : thread_(std::move(act)) {}
    ~User() { thread_.join(); }

private:
    std::thread thread_;
};

TEST(ShowTimedMessage, TimesOutReturningFalseAfterCountingDown) {
    std::wstring firstSecond, laterSecond;
    bool tickSeen = false;
    {
        User watcher([&] {
            HWND form = WaitForMessageWindow();
            HWND seconds = form ? GetDlgItem(form, 104) : nullptr;
            if (!seconds) return;
            firstSecond = TextOf(seconds);
            tickSeen = WaitUntil([&] { return TextOf(seconds) == L"  2с"; }, 3s);
        });
        EXPECT_FALSE(ShowTimedMessage(L"Три секунды", mtMessage, L"", 3));
    }
    EXPECT_EQ(firstSecond, L"  сек");
    EXPECT_TRUE(tickSeen) << "the first tick shows the seconds left";
    for (int seconds : {1, 2}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(ShowTimedMessage(L"Само закроется", mtMessage, L"", seconds)) << seconds;
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(seconds * 1000 - 50));
        EXPECT_FALSE(FindWindowW(L"TFMessageform", nullptr)) << "the window is released";
    }
}

// Presses "остановить" the moment the message window of the calling thread
// is shown: the click is then queued before the window processes anything,
// so it comes before the end of any countdown, however slow the machine.
class StopWhenShown {
public:
    StopWhenShown() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, OnMessage, nullptr, GetCurrentThreadId())) {}
    ~StopWhenShown() { UnhookWindowsHookEx(hook_); }
    StopWhenShown(const StopWhenShown&) = delete;
    StopWhenShown& operator=(const StopWhenShown&) = delete;
    bool installed() const { return hook_ != nullptr; }
    // The window's rectangle as it was shown, before the click.
    static RECT shownRect;

private:
    static LRESULT CALLBACK OnMessage(int code, WPARAM wp, LPARAM lp) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
        wchar_t cls[32] = {};
        if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam &&
            GetClassNameW(call->hwnd, cls, 32) && std::wstring_view(cls) == L"TFMessageform") {
            GetWindowRect(call->hwnd, &shownRect);
            PostMessageW(Child(call->hwnd, L"Button", L"остановить"), BM_CLICK, 0, 0);
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    HHOOK hook_;
};
RECT StopWhenShown::shownRect{};

TEST(ShowTimedMessage, StopKeepsTheWindowOpenUntilOk) {
    bool openAfterPeriod = false, rowHidden = false;
    RECT after{};
    StopWhenShown stopper;
    ASSERT_TRUE(stopper.installed());
    User user([&] {
        HWND form = WaitForMessageWindow();
        ASSERT_TRUE(form);
        HWND stop = Child(form, L"Button", L"остановить");
        ASSERT_TRUE(stop);
        WaitUntil([&] { return !IsWindowVisible(stop); });
        Sleep(1500);  // beyond the one-second period
        openAfterPeriod = IsWindowVisible(form);
        rowHidden = !IsWindowVisible(GetDlgItem(form, 103)) && !IsWindowVisible(GetDlgItem(form, 104));
        GetWindowRect(form, &after);
        PostMessageW(Child(form, L"Button", L"OK"), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(ShowTimedMessage(L"Остановите отсчёт", mtMessage, L"", 1));
    EXPECT_TRUE(openAfterPeriod);
    EXPECT_TRUE(rowHidden) << "the countdown row disappears";
    const RECT& before = StopWhenShown::shownRect;
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << "the height does not change";
}

TEST(ShowTimedMessage, AnswerOfEachWayToClose) {
    enum class Action { Ok, Cancel, CloseBox, Escape };
    struct {
        TMessageType type;
        Action action;
        bool result;
    } const cases[] = {
        {mtDialog, Action::Ok, true},  {mtDialog, Action::Cancel, false},    {mtDialog, Action::CloseBox, false},
        {mtMessage, Action::Ok, true}, {mtMessage, Action::CloseBox, false}, {mtMessage, Action::Escape, false},
    };
    for (const auto& c : cases) {
        bool cancelShown = false;
        bool result = !c.result;
        {
            User user([&] {
                HWND form = WaitForMessageWindow();
                ASSERT_TRUE(form);
                HWND cancel = Child(form, L"Button", L"Отмена");
                cancelShown = cancel && IsWindowVisible(cancel);
                switch (c.action) {
                    case Action::Ok:
                        PostMessageW(Child(form, L"Button", L"OK"), BM_CLICK, 0, 0);
                        break;
                    case Action::Cancel:
                        PostMessageW(cancel, BM_CLICK, 0, 0);
                        break;
                    case Action::CloseBox:
                        PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
                        break;
                    case Action::Escape:
                        PostMessageW(Child(form, L"Button", L"OK"), WM_KEYDOWN, VK_ESCAPE, 1);
                        break;
                }
            });
            result = ShowTimedMessage(L"Вопрос", c.type, L"Заголовок", 30);
        }
        const int index = static_cast<int>(&c - cases);
        EXPECT_EQ(result, c.result) << index;
        EXPECT_EQ(cancelShown, c.type == mtDialog) << index;
    }
}

TEST(ShowTimedMessage, LooksAndSitsAsDesigned) {
    std::wstring text, title, close, ok;
    LONG exStyle = 0;
    RECT window{}, label{}, okRect{}, stop{};
    int glyphs = 0, glyphWidth = 0;
    bool ownerDisabled = false;
    ScopedWindow other = MakeVisibleWindow();
    {
        User user([&] {
            HWND form = WaitForMessageWindow();
            ASSERT_TRUE(form);
            HWND lbl = GetDlgItem(form, 101);
            text = TextOf(lbl);
            title = TextOf(form);
            close = TextOf(GetDlgItem(form, 103));
            exStyle = GetWindowLongW(form, GWL_EXSTYLE);
            GetWindowRect(form, &window);
            GetWindowRect(lbl, &label);
            HWND okButton = Child(form, L"Button", L"OK");
            GetWindowRect(okButton, &okRect);
            GetWindowRect(Child(form, L"Button", L"остановить"), &stop);
            BUTTON_IMAGELIST glyph{};
            SendMessageW(okButton, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&glyph));
            glyphs = glyph.himl ? ImageList_GetImageCount(glyph.himl) : 0;
            int h = 0;
            if (glyph.himl) ImageList_GetIconSize(glyph.himl, &glyphWidth, &h);
            ownerDisabled = !IsWindowEnabled(other.get());
            PostMessageW(okButton, BM_CLICK, 0, 0);
        });
        EXPECT_TRUE(ShowTimedMessage(kWarning, mtMessage, L"", 0));
    }
    EXPECT_EQ(text,
              L"Внимание!\r\n Если на вашем компьютере уже установлен комплекс \"Velmora-Холтер\",\r\n снимите "
              L"галочку установки драйвера!");
    EXPECT_EQ(title, L"") << "an empty caption gives an empty title";
    EXPECT_EQ(close, L"Окно закроется через");
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(ownerDisabled) << "the thread's other windows wait";
    EXPECT_TRUE(IsWindowEnabled(other.get())) << "and take input again afterwards";
    EXPECT_EQ(glyphs, 1);
    EXPECT_EQ(glyphWidth, 16);

    // At 96 dots per inch: bottom edge at half the screen height, centred
    // across, height = text + 24 + 16 + 60, rows at the bottom.
    const int dpi = myScreen->PixelsPerInch;
    ASSERT_EQ(dpi, 96) << "the test prefix runs at small fonts";
    EXPECT_EQ(window.bottom, myScreen->Height / 2);
    const int width = window.right - window.left;
    EXPECT_EQ(window.left, myScreen->GetMonitor(myScreen->Monitornumber).Left + (myScreen->Width - width) / 2);
    EXPECT_EQ(window.bottom - window.top, (label.bottom - label.top) + 24 + 16 + 60);
    EXPECT_EQ(label.right - label.left, 446);
    EXPECT_GT(label.bottom - label.top, 3 * 13) << "three lines of 10-point text";
    EXPECT_EQ(okRect.right - okRect.left, 70);
    EXPECT_EQ(okRect.right, label.right) << "OK at the right end";
    EXPECT_EQ(okRect.bottom, stop.top) << "the button row sits on the countdown row";
    EXPECT_EQ(stop.bottom - stop.top, 16);
    EXPECT_EQ(stop.left, label.left);
}

TEST(ShowTimedMessage, SecondsOutOfRangeRaiseBeforeAnyWindow) {
    for (int seconds : {-1, 2147484}) {
        try {
            ShowTimedMessage(L"Никогда", mtMessage, L"", seconds);
            ADD_FAILURE() << seconds << " was accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), L"Invalid timer period: " + std::to_wstring(seconds) + L" s");
        }
        EXPECT_FALSE(FindWindowW(L"TFMessageform", nullptr));
    }
}

TEST(Showmes, NotModalReturnsAtOnceWithoutButtonsOrCountdown) {
    TFMessageform form;
    form.SetStopPeriod(100);
    std::wstring longText;
    for (int i = 0; i < 300; ++i) longText += L"слово ";
    EXPECT_FALSE(form.Showmes(longText, mtDialog, L"Сведения", false));
    HWND hwnd = form.Handle();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(TextOf(hwnd), L"Сведения");
    for (int id : {IDOK, IDCANCEL, 102, 103, 104}) EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, id))) << id;
    RECT window;
    GetWindowRect(hwnd, &window);
    EXPECT_GT(window.bottom - window.top, 200) << "a long text makes the window taller";
    EXPECT_EQ(window.bottom, myScreen->Height / 2);
    // Pumping for longer than the stop period leaves it open.
    const auto end = std::chrono::steady_clock::now() + 600ms;
    while (std::chrono::steady_clock::now() < end) {
        PumpMessages();
        Sleep(20);
    }
    EXPECT_TRUE(IsWindowVisible(hwnd));
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

}  // namespace
