// Where the message window and its parts go. Windows-free: the window code
// measures the text and the frame and hands the numbers in.
#pragma once

#include <string>
#include <string_view>

struct MessageRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Design sizes in pixels at 96 dots per inch.
constexpr int kMessageClientWidth = 446;
constexpr int kButtonRowHeight = 24;     // pnlButtons
constexpr int kCountdownRowHeight = 16;  // pnlClose
constexpr int kMessageExtraHeight = 60;  // added to the rows for the frame and air

struct MessageLayoutInput {
    int dpi = 96;         // the screen's logical pixels per inch
    int labelHeight = 0;  // the wrapped text's height at the scaled client width
    int frameWidth = 0;   // window width minus client width
    int frameHeight = 0;  // window height minus client height
    int screenWidth = 0;  // myScreen Width and Height (the selected monitor)
    int screenHeight = 0;
    int monitorLeft = 0;  // left edge of the selected monitor
    // Widths the countdown texts need in the window's font; their labels are
    // widened to them where the font runs wider than the design's.
    int closeTextWidth = 0;
    int secondsTextWidth = 0;
};

struct MessageLayout {
    MessageRect window;  // the whole window, screen coordinates
    // In client coordinates:
    MessageRect lblMessage, btnCancel, btnOK, btnStop, lblClose, lblSec;
};

// A design size scaled from 96 dots per inch to dpi, rounded.
int ScaleFromDesign(int pixels, int dpi);

// The window's layout: the text on top at full client width, the button row
// directly above the countdown row at the bottom; height = text + both rows +
// 60 (scaled); the bottom edge at half the screen height; centred across the
// screen width from the monitor's left edge. Halves drop their fraction.
MessageLayout LayoutMessageWindow(const MessageLayoutInput& in);

// text with every CR that is not followed by LF turned into CR LF, so that a
// lone CR starts a new line in the standard text controls.
std::wstring WithCrLfLineBreaks(std::wstring_view text);
