#include "app/background.h"

#include <algorithm>
#include <cstring>

void DrawPicture(Bitmap& target, const Bitmap& picture, int x, int y) {
    const int x0 = std::max(0, x);
    const int x1 = std::min(target.width, x + picture.width);
    if (x0 >= x1) return;
    for (int row = std::max(0, y); row < std::min(target.height, y + picture.height); ++row) {
        std::memcpy(&target.at(x0, row), &picture.at(x0 - x, row - y),
                    static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
    }
}

void ComposeBackground(Bitmap& target, const BackgroundPictures& p) {
    const int W = target.width;
    const int H = target.height;
    // The bounds include equality, so an exact multiple draws one more,
    // fully clipped, row or column.
    for (int y = 0; p.tile.height > 0 && y <= H; y += p.tile.height)
        for (int x = 0; p.tile.width > 0 && x <= W; x += p.tile.width) DrawPicture(target, p.tile, x, y);

    const int wL = p.titleLeft.width;
    DrawPicture(target, p.titleLeft, 0, 0);
    const int xR = W - p.titleRight.width;
    DrawPicture(target, p.titleRight, xR, 0);
    if (xR - 1 >= wL)
        for (int x = wL; x <= xR - 1; ++x) DrawPicture(target, p.titleMiddle, x, 0);

    DrawPicture(target, p.logo, wL - 5, 15);
    DrawPicture(target, p.title, (W - p.title.width) / 2, 20);
    DrawPicture(target, p.panels, -3, 95);
}
