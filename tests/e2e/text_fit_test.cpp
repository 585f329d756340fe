// No text of the wizard is cut off at 100, 125, 150 and 200 % display scale:
// every page text, button caption and side-panel line fits the control that
// shows it, and so do the texts of the timed message window and a line of
// the launch-progress window.
//
// The controls live in the installer's process. A font handle means nothing
// in another process, and under Wine WM_GETFONT sent from another process
// even answers 0, so the texts are measured here with fonts made from the
// design (face and pixel height). For the page texts the design font is
// shown to be the box's own first: an edit lays its lines out with its font,
// so its line pitch and the place of a character in its first line must
// agree with the measurement here. Buttons carry the page control's font.
//
// The progress list's lines after a whole installation that adds its
// widest real line: the list scrolls sideways far enough for every line.
#include <gtest/gtest.h>

#include <richedit.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "app/wizard_layout.h"
#include "base/utf8.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/driver_warning.h"
#include "tests/e2e/installer_package.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/temp_folder.h"

namespace {

struct DesignFont {
    const wchar_t* face;
    int pixels;  // character height
};

// The page text boxes' fonts, in page order (the progress page has no box).
const DesignFont kTimes20{L"Times New Roman", 20};
const DesignFont kTahoma15{L"Tahoma", 15};
const DesignFont kPageFonts[] = {kTimes20, kTimes20, kTahoma15, kTahoma15, kTimes20, kTahoma15};
constexpr int kSidePanelBorder = 4;  // the side panel's inner border

// A device context of this process with a design font selected.
class Measure {
public:
    explicit Measure(DesignFont font)
        : dc_(CreateCompatibleDC(nullptr)),
          font_(CreateFontW(-font.pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, font.face)),
          select_(dc_.get(), font_.get()) {
        GetTextMetricsW(dc_.get(), &metrics_);
    }

    int LineHeight() const { return metrics_.tmHeight; }
    SIZE Extent(std::wstring_view text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_.get(), text.data(), static_cast<int>(text.size()), &size);
        return size;
    }
    // The text broken into lines at width as a multi-line control breaks it.
    RECT Wrapped(std::wstring_view text, int width) const {
        RECT r{0, 0, width, 0};
        DrawTextW(dc_.get(), text.data(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
        return r;
    }

private:
    ScopedMemoryDc dc_;
    ScopedFont font_;
    ScopedSelect select_;
    TEXTMETRICW metrics_{};
};

SIZE ClientSize(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

// Where an edit or rich edit put the character at index (client coordinates).
POINT PositionOf(HWND edit, int index) {
    const LRESULT packed = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

int LineCount(HWND edit) {
    return static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
}
int LineStart(HWND edit, int line) {
    return static_cast<int>(SendMessageW(edit, EM_LINEINDEX, line, 0));
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// All controls of the window, hidden ones included.
std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A display scale and the two shared windows' sizes there: the message
// window is designed 446 wide at 96 dots per inch, the launch-progress
// window 471 x 59 at 144; both follow the screen's resolution.
struct Scale {
    DWORD dpi;
    int messageClientWidth;
    SIZE launchProgressClient;
};

class TextFitTest : public testing::TestWithParam<Scale> {
protected:
    void SetUp() override {
        exe_ = temp_ / L"VelmoraSetup.exe";
        ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe_.c_str(), FALSE));
    }

    int Dpi() const { return static_cast<int>(GetParam().dpi); }
    int Scaled(int pixels, int designDpi = 96) const { return MulDiv(pixels, Dpi(), designDpi); }

    // A page's read-only text box: the design font is the box's own (line
    // pitch and first-line advance agree), and the wrapped text fits the
    // box's formatting rectangle, which holds whole lines only.
    void ExpectPageTextFits(HWND box, DesignFont font) {
        SCOPED_TRACE(testing::Message() << "page text " << GetDlgCtrlID(box));
        const Measure m(font);
        const std::wstring text = TextOf(box);
        RECT format{};
        SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        ASSERT_GT(format.bottom, format.top);

        const int lines = LineCount(box);
        ASSERT_GE(lines, 2);
        const POINT first = PositionOf(box, 0);
        EXPECT_EQ(PositionOf(box, LineStart(box, 1)).y - first.y, m.LineHeight())
            << "line pitch of the box's font";
        const int probe = std::min<int>(12, LineStart(box, 1) - 1);
        EXPECT_EQ(PositionOf(box, probe).x - first.x, m.Extent(std::wstring_view(text).substr(0, probe)).cx)
            << "advance of the box's font";

        const RECT wrapped = m.Wrapped(text, format.right - format.left);
        EXPECT_LE(wrapped.bottom, format.bottom - format.top) << "the text needs more lines than the box shows";
        EXPECT_LE(wrapped.right, format.right - format.left);
        EXPECT_LE(PositionOf(box, LineStart(box, lines - 1)).y + m.LineHeight(), format.bottom)
            << "the box's own last line is cut off";
    }

    // A button's caption, beside its check mark or glyph, inside its edges.
    void ExpectCaptionFits(HWND button, DesignFont font, int besideText) {
        SCOPED_TRACE(testing::Message() << Describe(button).c_str());
        const Measure m(font);
        const SIZE text = m.Extent(TextOf(button));
        const SIZE client = ClientSize(button);
        constexpr int kEdges = 4;  // frame and focus rectangle on each side
        EXPECT_LE(besideText + text.cx + 2 * kEdges, client.cx);
        EXPECT_LE(m.LineHeight() + kEdges, client.cy);
    }

    // The wizard's buttons and its check box, in the page control's font.
    void ExpectButtonFits(HWND button) {
        const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
        const int checkMark = type == BS_AUTOCHECKBOX || type == BS_CHECKBOX ? Scaled(13) + 4 : 0;
        ExpectCaptionFits(button, kTahoma15, checkMark);
    }

    // The side panel: every line ends at a blank, a hyphen or its paragraph's
    // end (no word is broken), and the last line ends above the inner border.
    void ExpectSidePanelFits(HWND panel) {
        SCOPED_TRACE("side panel");
        const int lines = LineCount(panel);
        ASSERT_GE(lines, 10);
        // The box counts a paragraph's end as one character; its text reads
        // it as CR LF.
        std::wstring text = TextOf(panel);
        for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 1))
            text.erase(at + 1, 1);
        for (int line = 1; line < lines; ++line) {
            const size_t start = static_cast<size_t>(LineStart(panel, line));
            ASSERT_GT(start, 0u);
            ASSERT_LE(start, text.size());
            const wchar_t before = text[start - 1];
            EXPECT_TRUE(before == L' ' || before == L'-' || before == L'\r')
                << "line " << line << " breaks inside a word: "
                << testing::PrintToString(text.substr(start - std::min<size_t>(start, 20), 40));
        }
        // The last line is as high as the pitch from the line before it; a
        // paragraph's spacing only adds to that, so this errs on the safe side.
        const int lastTop = PositionOf(panel, LineStart(panel, lines - 1)).y;
        const int before = PositionOf(panel, LineStart(panel, lines - 2)).y;
        ASSERT_GT(lastTop, before);
        EXPECT_LE(lastTop + (lastTop - before), ClientSize(panel).cy - kSidePanelBorder)
            << lines << " lines, the last at " << lastTop;
    }

    TempFolder temp_;
    std::wstring exe_;
};

TEST_P(TextFitTest, EveryPageSidePanelAndMessageWindowReadsCompletely) {
    ScreenDpiForNewProcesses dpi(GetParam().dpi);
    Wizard w(exe_);

    // Every page exists from the start, hidden or not.
    const std::vector<HWND> controls = ChildrenOf(w.Main());
    int pageTexts = 0, buttons = 0, sidePanels = 0;
    for (HWND c : controls) {
        const std::wstring cls = ClassOf(c);
        const int id = GetDlgCtrlID(c);
        if (cls == L"Edit" && id >= ID_FirstMemo && id < ID_FirstMemo + kPageCount) {
            ExpectPageTextFits(c, kPageFonts[id - ID_FirstMemo]);
            ++pageTexts;
        } else if (id == ID_ePath) {
            RECT format{};
            SendMessageW(c, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
            EXPECT_LE(Measure(kTahoma15).LineHeight(), format.bottom - format.top) << "folder field";
        } else if (cls == L"Button") {
            ExpectButtonFits(c);
            ++buttons;
        } else if (_wcsicmp(cls.c_str(), MSFTEDIT_CLASS) == 0) {
            ExpectSidePanelFits(c);
            ++sidePanels;
        }
    }
    EXPECT_EQ(pageTexts, 5);
    EXPECT_EQ(buttons, 13);
    EXPECT_EQ(sidePanels, 1);

    // The launch-progress window: one line of its font (20 pixels at 144
    // dots per inch, scaled) fits its text row.
    HWND waitRun = nullptr;
    Wizard::WaitUntil([&] { return (waitRun = FindTopWindowEvenHidden(w.ProcessId(), L"TFWaitRun")) != nullptr; });
    ASSERT_TRUE(waitRun);
    const SIZE launchProgress = ClientSize(waitRun);
    EXPECT_EQ(launchProgress.cx, GetParam().launchProgressClient.cx);
    EXPECT_EQ(launchProgress.cy, GetParam().launchProgressClient.cy);
    HWND progressText = FindWindowExW(waitRun, nullptr, L"Static", nullptr);
    ASSERT_TRUE(progressText);
    EXPECT_LE(Measure({L"Tahoma", Scaled(20, 144)}).LineHeight(), ClientSize(progressText).cy)
        << "launch-progress text row";

    // The driver warning on the options page. Its sizes follow the screen's
    // resolution: the text in Tahoma 10 points, the rest in 8 points. Its
    // countdown is held still, to be read before and after one tick.
    const ScopedHandle tick(CreateEventW(nullptr, FALSE, FALSE, L"VelmoraTestCountdownTick"));
    ASSERT_TRUE(tick);
    const InstallerHook holdCountdown(w, WH_GETMESSAGE, L"" VH_BUILD_DIR "/hold_countdown.dll", "HoldCountdown");
    ASSERT_TRUE(holdCountdown.installed());
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    ASSERT_TRUE(path);
    SetText(path, temp_ / L"Holter");
    w.Click(L"Далее");
    const MessageWindowInfo warning = w.WaitForMessageWindow();
    ASSERT_TRUE(warning.hwnd);
    const DesignFont text{L"Tahoma", MulDiv(10, Dpi(), 72)};
    const DesignFont small{L"Tahoma", MulDiv(8, Dpi(), 72)};
    EXPECT_EQ(ClientSize(warning.hwnd).cx, GetParam().messageClientWidth);
    HWND label = GetDlgItem(warning.hwnd, 101);
    const SIZE labelSize = ClientSize(label);
    const RECT wrapped = Measure(text).Wrapped(TextOf(label), labelSize.cx);
    EXPECT_LE(wrapped.bottom, labelSize.cy) << "message text";
    EXPECT_LE(wrapped.right, labelSize.cx) << "message text";
    constexpr int kGlyph = 16 + 4;  // the buttons' pictures and their gap
    ExpectCaptionFits(FindWindowExW(warning.hwnd, nullptr, L"Button", L"OK"), small, kGlyph);
    ExpectCaptionFits(FindWindowExW(warning.hwnd, nullptr, L"Button", L"остановить"), small, 0);
    HWND seconds = GetDlgItem(warning.hwnd, 104);
    // The countdown row before its first tick, and after it: two digits of
    // seconds, the widest reading.
    const auto expectRowsFit = [&] {
        for (HWND row : {GetDlgItem(warning.hwnd, 103), seconds}) {
            SCOPED_TRACE(testing::Message() << Describe(row).c_str());
            const Measure m(small);
            EXPECT_LE(m.Extent(TextOf(row)).cx, ClientSize(row).cx);
            EXPECT_LE(m.LineHeight(), ClientSize(row).cy);
        }
    };
    EXPECT_EQ(TextOf(seconds), L"  сек");
    expectRowsFit();
    ASSERT_TRUE(SetEvent(tick.get()));
    ASSERT_TRUE(Wizard::WaitUntil([&] { return TextOf(seconds) != L"  сек"; }, 10s));
    const std::wstring reading = TextOf(seconds);
    EXPECT_TRUE(reading.size() == 5 && reading.starts_with(L"  1") && iswdigit(reading[3]) && reading[4] == L'с')
        << testing::PrintToString(reading);
    expectRowsFit();
    w.PressOk(warning);
}

INSTANTIATE_TEST_SUITE_P(DisplayScales, TextFitTest,
                         testing::Values(Scale{96, 446, {314, 39}}, Scale{120, 558, {393, 49}},
                                         Scale{144, 669, {471, 59}}, Scale{192, 892, {628, 79}}),
                         [](const testing::TestParamInfo<Scale>& info) {
                             return "Dpi" + std::to_string(info.param.dpi);
                         });

class ProgressListTest : public testing::TestWithParam<DWORD> {
protected:
    // The whole run puts the package's shortcut on the desktop.
    void TearDown() override { DeleteFileW(DesktopShortcut().c_str()); }

    TempFolder temp_;
};

// An update package in the install folder that is not the distribution's,
// refused, gives one of the widest lines a real installation shows (over
// 800 pixels against the list's 584). The list's font is the page controls'
// Tahoma 15 pixels; the list draws each line a pixel in from its left edge.
TEST_P(ProgressListTest, ScrollsSidewaysToItsWidestLine) {
    const ScreenDpiForNewProcesses dpi(GetParam());
    PackageOptions options;
    options.standInFolder = L"" VH_BUILD_DIR;
    BuildPackage(temp_.path(), options);
    const std::wstring exe = temp_ / L"VelmoraSetup.exe";
    ASSERT_TRUE(CopyFileW(L"" VH_SETUP_EXE, exe.c_str(), FALSE));
    const std::wstring install = temp_ / L"Holter\\";
    const std::wstring foreign = install + L"backup\\X991231";
    for (const std::wstring& folder : {install, install + L"backup", foreign})
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    WriteFileBytes(foreign + L"\\Install.cmd", "@echo off\r\n");
    const std::wstring foreignLine =
        L"Пакет обновления <X991231>: пакет не из этого дистрибутива, Install.cmd не запущен; уровень обновления "
        L"не записан";

    Wizard w(exe);
    GoToOptions(w, install);
    w.Click(L"Начать установку");
    // Every question is answered No; the run ends with the completion
    // question, or at small fonts on the large-font page.
    for (;;) {
        ASSERT_TRUE(Wizard::WaitUntil(
            [&] {
                return FindTopWindow(w.ProcessId(), L"#32770") ||
                       w.FindControl(L"Button", L"Изменить настройки", 0s);
            },
            120s))
            << "the run did not end";
        const MessageBoxInfo box = w.WaitForMessageBox(0s);
        if (!box.hwnd || box.text == L"Установка завершена. Выйти из программы установки?") break;
        w.Answer(box, IDNO);
    }
    const auto lists = ChildrenOf(w.Main());
    const auto found = std::find_if(lists.begin(), lists.end(), [](HWND c) { return ClassOf(c) == L"ListBox"; });
    ASSERT_NE(found, lists.end());
    HWND list = *found;
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL) << "the list shows its horizontal scroll bar";
    const int extent = static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
    const Measure m(kTahoma15);
    const std::vector<std::wstring> lines = ListLines(list);
    ASSERT_NE(std::find(lines.begin(), lines.end(), foreignLine), lines.end());
    for (const std::wstring& line : lines) EXPECT_GE(extent, 1 + m.Extent(line).cx) << "cut off: " << ToUtf8(line);
    EXPECT_GT(m.Extent(foreignLine).cx, ClientSize(list).cx)
        << "the list must scroll to show the foreign package's line";
}

INSTANTIATE_TEST_SUITE_P(DisplayScales, ProgressListTest, testing::Values(96, 120, 144, 192),
                         [](const testing::TestParamInfo<DWORD>& info) {
                             return "Dpi" + std::to_string(info.param);
                         });

}  // namespace
