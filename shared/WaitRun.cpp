#include "shared/WaitRun.h"

#include <commctrl.h>

#include "base/message_pump.h"
#include "shared/ScreenMonitorManager.h"
#include "shared/wait_run_rules.h"

TFWaitRun* FWaitRun = nullptr;

namespace {

constexpr int kClientWidth = 471;  // at kWaitRunDesignDpi
constexpr int kClientHeight = 59;
constexpr int kBarHeight = 30;
constexpr int kFontPixels = 20;
constexpr int kBorderWidth = 2;

constexpr wchar_t kWhat[] = L"the launch progress window";

}  // namespace

WindowClass TFWaitRun::Class(HINSTANCE) {
    return {.name = L"TFWaitRun",
            .cursor = LoadCursorW(nullptr, IDC_ARROW),
            .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
}

TFWaitRun::TFWaitRun() {
    // A caption without system menu: no close box, the user cannot end it.
    const DWORD style = WS_POPUP | WS_CAPTION;
    const DWORD exStyle = WS_EX_TOPMOST;
    CreateAttached(ProgramModule(), {.exStyle = exStyle, .style = style}, kWhat);
    ProgressBar = CreateChildControl(PROGRESS_CLASSW, {.style = PBS_SMOOTH, .parent = hwnd_}, nullptr, kWhat);
    LblProgress = CreateChildControl(L"Static", {.style = SS_LEFT | SS_NOPREFIX, .parent = hwnd_}, nullptr, kWhat);

    const int dpi = myScreen->PixelsPerInch > 0 ? myScreen->PixelsPerInch : 96;
    auto scaled = [dpi](int pixels) { return ScaleFromWaitRunDesign(pixels, dpi); };
    font_.reset(CreateFontW(-scaled(kFontPixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    SendMessageW(LblProgress, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageW(ProgressBar, PBM_SETRANGE32, 0, kWaitRunSteps);
    SendMessageW(ProgressBar, PBM_SETSTEP, 1, 0);

    const int clientWidth = scaled(kClientWidth);
    const int clientHeight = scaled(kClientHeight);
    const int border = scaled(kBorderWidth);
    const int barHeight = scaled(kBarHeight);
    SetWindowPos(ProgressBar, nullptr, border, clientHeight - border - barHeight, clientWidth - 2 * border,
                 barHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(LblProgress, nullptr, border, border, clientWidth - 2 * border,
                 clientHeight - 2 * border - barHeight, SWP_NOZORDER | SWP_NOACTIVATE);

    // Creation step: bar at 0, title, centred on the selected monitor.
    SendMessageW(ProgressBar, PBM_SETPOS, 0, 0);
    SetWindowTextW(hwnd_, WaitRunTitle(typemessage).c_str());
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const TMonitor& m = myScreen->GetMonitor(myScreen->Monitornumber);
    const WaitRunPlace place = PlaceWaitRun(m.Left, m.Top, m.Width, m.Height, width, height);
    SetWindowPos(hwnd_, nullptr, place.left, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

TFWaitRun::~TFWaitRun() {
    Sleep(0);
    // The window goes before the font its label uses.
    if (hwnd_) DestroyWindow(hwnd_);
}

void TFWaitRun::Show() {
    SetWindowTextW(hwnd_, WaitRunTitle(typemessage).c_str());
    ShowWindow(hwnd_, SW_SHOWNA);
    UpdateWindow(hwnd_);
}

void TFWaitRun::Hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

void TFWaitRun::Next(int /*value*/, std::wstring_view msg) noexcept {
    try {
        position_ = NextProgressPosition(position_);
        SendMessageW(ProgressBar, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
        SetWindowTextW(LblProgress, std::wstring(msg).c_str());
        ProcessPendingMessages();
    } catch (...) {
        Sleep(0);
    }
}
