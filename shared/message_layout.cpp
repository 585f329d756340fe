#include "shared/message_layout.h"

#include <algorithm>

namespace {

// Widths of the parts at 96 dots per inch.
constexpr int kCancelWidth = 73;
constexpr int kOkWidth = 70;
constexpr int kStopWidth = 80;
constexpr int kCloseLabelWidth = 107;
constexpr int kSecondsLabelWidth = 22;

}  // namespace

int ScaleFromDesign(int pixels, int dpi) {
    return (pixels * dpi + 48) / 96;
}

MessageLayout LayoutMessageWindow(const MessageLayoutInput& in) {
    auto scaled = [&](int pixels) { return ScaleFromDesign(pixels, in.dpi); };
    MessageLayout l;
    const int clientWidth = scaled(kMessageClientWidth);
    const int buttonRow = scaled(kButtonRowHeight);
    const int countdownRow = scaled(kCountdownRowHeight);

    l.window.width = clientWidth + in.frameWidth;
    l.window.height = in.labelHeight + buttonRow + countdownRow + scaled(kMessageExtraHeight);
    l.window.top = in.screenHeight / 2 - l.window.height;
    l.window.left = in.monitorLeft + (in.screenWidth - l.window.width) / 2;

    const int clientHeight = l.window.height - in.frameHeight;
    const int countdownTop = clientHeight - countdownRow;
    const int buttonTop = countdownTop - buttonRow;
    l.lblMessage = {0, 0, clientWidth, in.labelHeight};
    l.btnCancel = {0, buttonTop, scaled(kCancelWidth), buttonRow};
    const int okWidth = scaled(kOkWidth);
    l.btnOK = {clientWidth - okWidth, buttonTop, okWidth, buttonRow};

    l.btnStop = {0, countdownTop, scaled(kStopWidth), countdownRow};
    l.lblClose = {l.btnStop.width, countdownTop, std::max(scaled(kCloseLabelWidth), in.closeTextWidth),
                  countdownRow};
    l.lblSec = {l.lblClose.left + l.lblClose.width, countdownTop,
                std::max(scaled(kSecondsLabelWidth), in.secondsTextWidth), countdownRow};
    return l;
}

std::wstring WithCrLfLineBreaks(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) out += L'\n';
    }
    return out;
}
