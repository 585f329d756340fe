// When the screen counts as set to small fonts: the installed package is laid
// out for large fonts (120 logical pixels per inch). Windows-free.
#pragma once

// Horizontal logical pixels per inch below this count as small fonts.
constexpr int kSmallFontLimit = 100;

// True for a horizontal logical resolution below kSmallFontLimit (96 is the
// usual small-font value; 120 is large fonts).
constexpr bool IsSmallFontDpi(int logPixelsX) {
    return logPixelsX < kSmallFontLimit;
}
