#include "shared/MessageForm.h"

#include <algorithm>
#include <vector>

#include "shared/ScreenMonitorManager.h"
#include "shared/message_layout.h"
#include "shared/message_timing.h"

namespace {

constexpr int ID_lblMessage = 101;
constexpr int ID_btnStop = 102;
constexpr int ID_lblClose = 103;
constexpr int ID_lblSec = 104;
constexpr UINT_PTR kStayUpTimer = 1;
constexpr UINT_PTR kStopTimer = 2;
constexpr UINT kStayUpPeriodMs = 1000;
constexpr wchar_t kCloseCaption[] = L"Окно закроется через";

HFONT MakeFont(const wchar_t* face, int points, int dpi) {
    return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face);
}

int ScreenDpi() {
    return myScreen->PixelsPerInch > 0 ? myScreen->PixelsPerInch : 96;
}

int TextWidth(HWND control, HFONT font, std::wstring_view text) {
    ScopedGetDc dc(control);
    ScopedSelect select(dc.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void Place(HWND control, const MessageRect& r) {
    SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// While a modal window runs, the thread's other windows take no input, as
// with the standard dialogs. Re-enabled in every case when this ends.
class ThreadWindowsDisabled {
public:
    explicit ThreadWindowsDisabled(HWND keep) : keep_(keep) {
        EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
    }
    ~ThreadWindowsDisabled() {
        for (HWND hwnd : disabled_) EnableWindow(hwnd, TRUE);
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Disable(HWND hwnd, LPARAM param) {
        return GuardCallback<BOOL>(FALSE, [&]() -> BOOL {
            auto* self = reinterpret_cast<ThreadWindowsDisabled*>(param);
            if (hwnd != self->keep_ && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
                self->disabled_.push_back(hwnd);
                EnableWindow(hwnd, FALSE);
            }
            return TRUE;
        });
    }
    HWND keep_;
    std::vector<HWND> disabled_;
};

}  // namespace

WindowClass TFMessageform::Class(HINSTANCE) {
    return {.name = L"TFMessageform",
            .cursor = LoadCursorW(nullptr, IDC_ARROW),
            .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
}

TFMessageform::TFMessageform() : stopPeriodMs_(kDefaultStopPeriodMs) {
    CreateAttached(ProgramModule(),
                   {.exStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN},
                   L"the message window");
    const int dpi = ScreenDpi();
    messageFont_.reset(MakeFont(L"Tahoma", 10, dpi));
    controlFont_.reset(MakeFont(L"Tahoma", 8, dpi));
    struct Child {
        HWND& hwnd;
        const wchar_t* className;
        const wchar_t* text;
        DWORD style;
        int id;
        HFONT font;
    };
    const Child children[] = {
        {lblMessage, L"Static", L"", SS_LEFT | SS_NOPREFIX, ID_lblMessage, messageFont_.get()},
        {btnCancel, L"Button", L"Отмена", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, controlFont_.get()},
        {btnOK, L"Button", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, controlFont_.get()},
        {btnStop, L"Button", L"остановить", BS_PUSHBUTTON | WS_TABSTOP, ID_btnStop, controlFont_.get()},
        {lblClose, L"Static", kCloseCaption, SS_CENTER | SS_NOPREFIX, ID_lblClose, controlFont_.get()},
        {lblSec, L"Static", kCountdownBeforeFirstTick, SS_LEFT | SS_NOPREFIX, ID_lblSec, controlFont_.get()},
    };
    for (const Child& c : children)
        c.hwnd = CreateChildControl(c.className, {.title = c.text, .style = c.style, .parent = hwnd_, .id = c.id},
                                    c.font, L"the message window");
    cancelGlyph_ = SetButtonGlyph(btnCancel, L"GLYPH_CANCEL");
    okGlyph_ = SetButtonGlyph(btnOK, L"GLYPH_OK");
}

TFMessageform::~TFMessageform() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TFMessageform::Showmes(std::wstring_view Text, TMessageType tip, std::wstring_view CaptionText, bool smodal) {
    FShowResult = false;
    FMessageTtype = tip;
    FMessageText = Text;
    FCaptionText = CaptionText;
    Fsmodal = smodal;
    ShowWindow(btnCancel, tip == mtDialog ? SW_SHOW : SW_HIDE);
    ShowWindow(btnOK, SW_SHOW);
    if (!smodal) {
        ShowWindow(btnOK, SW_HIDE);
        ShowWindow(btnStop, SW_HIDE);
        ShowWindow(btnCancel, SW_HIDE);
    }
    FormShow();
    if (smodal) {
        RunModal();
    } else {
        ShowWindow(hwnd_, SW_SHOWNA);
    }
    if (IsWindowVisible(hwnd_)) UpdateWindow(hwnd_);
    return FShowResult;
}

// Everything the window does before it is first displayed.
void TFMessageform::FormShow() {
    if (Fsmodal) {
        SetTimer(hwnd_, kStayUpTimer, kStayUpPeriodMs, nullptr);
        SetTimer(hwnd_, kStopTimer, stopPeriodMs_, nullptr);
    } else {
        KillTimer(hwnd_, kStayUpTimer);
        KillTimer(hwnd_, kStopTimer);
        ShowWindow(lblClose, SW_HIDE);
        ShowWindow(lblSec, SW_HIDE);
    }

    const std::wstring text = WithCrLfLineBreaks(FMessageText);
    SetWindowTextW(lblMessage, text.c_str());
    SetWindowTextW(hwnd_, FCaptionText.c_str());

    MessageLayoutInput in;
    in.dpi = ScreenDpi();
    RECT textRect{0, 0, ScaleFromDesign(kMessageClientWidth, in.dpi), 0};
    {
        ScopedGetDc dc(lblMessage);
        ScopedSelect font(dc.get(), messageFont_.get());
        // The static control draws with these flags, so the height matches.
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    }
    in.labelHeight = textRect.bottom;
    in.closeTextWidth = TextWidth(lblClose, controlFont_.get(), kCloseCaption);
    // The widest reading of the countdown: its first number, or "  сек".
    in.secondsTextWidth = std::max(TextWidth(lblSec, controlFont_.get(), kCountdownBeforeFirstTick),
                                   TextWidth(lblSec, controlFont_.get(), CountdownCaption(stopPeriodMs_ / 1000)));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    in.frameWidth = frame.right - frame.left;
    in.frameHeight = frame.bottom - frame.top;
    in.screenWidth = myScreen->Width;
    in.screenHeight = myScreen->Height;
    in.monitorLeft = myScreen->GetMonitor(myScreen->Monitornumber).Left;

    const MessageLayout l = LayoutMessageWindow(in);
    SetWindowPos(hwnd_, HWND_TOPMOST, l.window.left, l.window.top, l.window.width, l.window.height,
                 SWP_NOACTIVATE);
    Place(lblMessage, l.lblMessage);
    Place(btnCancel, l.btnCancel);
    Place(btnOK, l.btnOK);
    Place(btnStop, l.btnStop);
    Place(lblClose, l.lblClose);
    Place(lblSec, l.lblSec);
    tt = GetTickCount64();
}

void TFMessageform::RunModal() {
    const HWND previousActive = GetActiveWindow();
    {
        ThreadWindowsDisabled others(hwnd_);
        closed_ = false;
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        SetFocus(btnOK);
        MSG msg;
        while (!closed_) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                // The program is ending: leave the quit request to the main loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (got < 0) break;
            if (IsDialogMessageW(hwnd_, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Close();
    }
    // The other windows are enabled again before this one hides, so the one
    // the user worked in gets the activation back.
    ShowWindow(hwnd_, SW_HIDE);
    if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
}

void TFMessageform::StayUpTimerTimer() {
    if (!IsWindowVisible(hwnd_)) return;
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const int remaining = RemainingSeconds(stopPeriodMs_, static_cast<int64_t>(GetTickCount64() - tt));
    SetWindowTextW(lblSec, CountdownCaption(remaining).c_str());
}

void TFMessageform::btnStopClick() {
    KillTimer(hwnd_, kStopTimer);
    ShowWindow(btnStop, SW_HIDE);
    ShowWindow(lblClose, SW_HIDE);
    ShowWindow(lblSec, SW_HIDE);
}

void TFMessageform::CloseWith(bool result) {
    FShowResult = result;
    Close();
}

void TFMessageform::Close() {
    KillTimer(hwnd_, kStayUpTimer);
    KillTimer(hwnd_, kStopTimer);
    closed_ = true;
    if (!Fsmodal) ShowWindow(hwnd_, SW_HIDE);
}

LRESULT TFMessageform::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDOK:  // also Enter
                    if (IsWindowVisible(btnOK)) CloseWith(true);
                    return 0;
                case IDCANCEL:  // also Esc, which closes like the close box
                    CloseWith(false);
                    return 0;
                case ID_btnStop:
                    btnStopClick();
                    return 0;
                default:
                    break;
            }
            break;
        case WM_TIMER:
            if (wp == kStayUpTimer) StayUpTimerTimer();
            if (wp == kStopTimer) CloseWith(false);  // as "Отмена", also when it is hidden
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool ShowTimedMessage(std::wstring_view Text, TMessageType MsgType, std::wstring_view Caption, int Seconds) {
    const unsigned period = StopPeriodMs(Seconds);
    TFMessageform form;
    form.SetStopPeriod(period);
    return form.Showmes(Text, MsgType, Caption, true);
}
