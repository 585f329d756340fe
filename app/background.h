// Composition of the main window's background from its seven pictures.
// Windows-free, so the exact pixel layout is tested natively.
#pragma once

#include "base/bitmap.h"

struct BackgroundPictures {
    Bitmap tile;         // BACKGROUND
    Bitmap panels;       // MAIN
    Bitmap logo;         // LOGO
    Bitmap titleLeft;    // TITLE_PNL_L
    Bitmap titleRight;   // TITLE_PNL_R
    Bitmap titleMiddle;  // TITLE_PNL_M
    Bitmap title;        // TITLE
};

// Copies picture into target at (x, y), replacing pixels; parts outside the
// target are clipped, negative coordinates allowed.
void DrawPicture(Bitmap& target, const Bitmap& picture, int x, int y);

// Draws the whole background into target (already sized W x H): tiles, title
// strip, logo, banner and panel frame, in that order.
void ComposeBackground(Bitmap& target, const BackgroundPictures& p);

// Where the side panel and the page control sit on the drawn panels.
struct ContentRect {
    int left, top, width, height;
};
constexpr ContentRect kSidePanelRect{16, 110, 282, 441};
constexpr ContentRect kPageControlRect{320, 110, 619, 441};
