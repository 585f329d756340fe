#include "app/background.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "base/png_decoder.h"

namespace {

Bitmap LoadShipped(const char* name) {
    std::ifstream file(std::string(VH_RESOURCE_DIR) + "/" + name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (bytes.empty()) ADD_FAILURE() << "cannot read " << name;
    return DecodePngOpaque(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

BackgroundPictures ShippedPictures() {
    return {LoadShipped("BACKGROUND.png"),  LoadShipped("MAIN.png"),        LoadShipped("LOGO.png"),
            LoadShipped("TITLE_PNL_L.png"), LoadShipped("TITLE_PNL_R.png"), LoadShipped("TITLE_PNL_M.png"),
            LoadShipped("TITLE.png")};
}

// Nothing but the composition may show: the buffer starts with a colour no
// opaque picture has.
constexpr uint32_t kUntouched = 0x00ABCDEFu;

// The picture pixel that should show at (x, y) of a 954 x 579 window,
// worked out from the layers' documented rectangles, topmost first.
uint32_t ExpectedAt(const BackgroundPictures& p, int x, int y) {
    if (y >= 95 && y < 95 + 472) return p.panels.at(x + 3, y - 95);
    if (x >= 227 && x < 727 && y >= 20 && y < 86) return p.title.at(x - 227, y - 20);
    if (x >= 17 && x < 17 + 72 && y >= 15 && y < 85) return p.logo.at(x - 17, y - 15);
    if (y < 100) {
        if (x < 22) return p.titleLeft.at(x, y);
        if (x >= 932) return p.titleRight.at(x - 932, y);
        return p.titleMiddle.at(0, y);
    }
    return p.tile.at(x % 128, y % 128);
}

TEST(ComposeBackground, ShippedPicturesAtTheWindowSize) {
    const BackgroundPictures p = ShippedPictures();
    ASSERT_EQ(p.panels.width, 958);
    ASSERT_EQ(p.panels.height, 472);
    ASSERT_EQ(p.title.width, 500);
    Bitmap target(954, 579, kUntouched);
    ComposeBackground(target, p);
    int tileRows = 0;
    for (int y = 0; y < 579; ++y) {
        bool tileRow = true;
        for (int x = 0; x < 954; ++x) {
            ASSERT_EQ(target.at(x, y), ExpectedAt(p, x, y)) << "at " << x << ", " << y;
            tileRow = tileRow && y >= 100 && target.at(x, y) == p.tile.at(x % 128, y % 128);
        }
        tileRows += tileRow;
    }
    // The frame ends at y 566: only the last 12 rows show the tile.
    EXPECT_EQ(tileRows, 12);
    EXPECT_EQ(target.at(953, 0), p.titleRight.at(21, 0)) << "the title strip reaches the right edge";
    EXPECT_EQ(target.at(0, 94), p.titleLeft.at(0, 94));
    EXPECT_EQ(target.at(0, 95), p.panels.at(3, 0)) << "the frame covers the strip from y 95";
}

// Synthetic pictures whose pixels name their layer and their own (x, y), so
// every target pixel tells where it came from.
enum Layer : uint32_t { kTile = 1, kPanels, kLogo, kLeft, kRight, kMiddle, kTitle };

Bitmap Coded(Layer layer, int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.at(x, y) = layer << 24 | static_cast<uint32_t>(x) << 12 | y;
    return b;
}

struct Source {
    Layer layer;
    int x, y;
};
Source SourceOf(uint32_t pixel) {
    return {static_cast<Layer>(pixel >> 24), static_cast<int>(pixel >> 12 & 0xFFF),
            static_cast<int>(pixel & 0xFFF)};
}

BackgroundPictures SyntheticPictures() {
    return {Coded(kTile, 128, 128), Coded(kPanels, 958, 472), Coded(kLogo, 72, 70),  Coded(kLeft, 22, 100),
            Coded(kRight, 22, 100), Coded(kMiddle, 1, 100),   Coded(kTitle, 500, 66)};
}

Bitmap Compose(int width, int height) {
    Bitmap target(width, height, kUntouched);
    ComposeBackground(target, SyntheticPictures());
    return target;
}

TEST(ComposeBackground, TitleStripEndsAndMiddleAtNarrowWidths) {
    // Row 10, left of the logo, shows the strip only.
    struct {
        int width;
        int middleColumns;
        int rightEndFrom;  // first x showing the right end
    } const cases[] = {
        {43, 0, 21},  // the right end overlaps the left end's last column
        {44, 0, 22},  // the ends meet, nothing in between
        {45, 1, 23},  // xR - 1 == wL: one middle column
        {954, 910, 932},
    };
    for (const auto& c : cases) {
        const Bitmap target = Compose(c.width, 120);
        int middle = 0;
        for (int x = 0; x < c.width; ++x) {
            const Source s = SourceOf(target.at(x, 10));
            if (x < 22 && x < c.rightEndFrom) {
                EXPECT_EQ(s.layer, kLeft) << c.width << " at " << x;
                EXPECT_EQ(s.x, x);
            } else if (x >= c.rightEndFrom) {
                EXPECT_EQ(s.layer, kRight) << c.width << " at " << x;
                EXPECT_EQ(s.x, x - c.rightEndFrom);
            } else {
                EXPECT_EQ(s.layer, kMiddle) << c.width << " at " << x;
                ++middle;
            }
        }
        EXPECT_EQ(middle, c.middleColumns) << c.width;
    }
}

TEST(ComposeBackground, LogoBannerAndFramePositions) {
    const Bitmap target = Compose(954, 579);
    const Source logo = SourceOf(target.at(17, 15));
    EXPECT_EQ(logo.layer, kLogo);
    EXPECT_EQ(logo.x, 0);
    EXPECT_EQ(logo.y, 0);
    EXPECT_EQ(SourceOf(target.at(16, 15)).layer, kLeft);
    const Source banner = SourceOf(target.at(227, 20));
    EXPECT_EQ(banner.layer, kTitle);
    EXPECT_EQ(banner.x, 0);
    EXPECT_EQ(banner.y, 0);
    EXPECT_EQ(SourceOf(target.at(226, 20)).layer, kMiddle);
    EXPECT_EQ(SourceOf(target.at(727, 20)).layer, kMiddle);
    // The frame starts 3 columns inside its picture and ends at y 566.
    const Source frame = SourceOf(target.at(0, 95));
    EXPECT_EQ(frame.layer, kPanels);
    EXPECT_EQ(frame.x, 3);
    EXPECT_EQ(frame.y, 0);
    EXPECT_EQ(SourceOf(target.at(953, 566)).layer, kPanels);
    EXPECT_EQ(SourceOf(target.at(953, 566)).x, 956);
    EXPECT_EQ(SourceOf(target.at(0, 567)).layer, kTile);
}

TEST(ComposeBackground, BannerCentringTruncatesTowardZero) {
    struct {
        int width;
        int bannerLeft;
    } const cases[] = {
        {954, 227}, {955, 227},  // W - 500 odd: the extra pixel stays on the right
        {501, 0},   {499, 0},    // (499 - 500) / 2 is 0, not -1
        {497, -1},               // (497 - 500) / 2 is -1, not -2
    };
    for (const auto& c : cases) {
        const Bitmap target = Compose(c.width, 120);
        const int firstVisible = std::max(0, c.bannerLeft);
        const Source s = SourceOf(target.at(firstVisible, 20));
        EXPECT_EQ(s.layer, kTitle) << c.width;
        EXPECT_EQ(s.x, firstVisible - c.bannerLeft) << c.width;
        if (c.bannerLeft > 0) {
            EXPECT_NE(SourceOf(target.at(c.bannerLeft - 1, 20)).layer, kTitle) << c.width;
        }
    }
}

TEST(ComposeBackground, TilesFillBelowTheFrameUpToExactMultiples) {
    // 1024 x 640 is 8 x 5 tiles exactly: the extra clipped column and row
    // at the bound must neither write outside the buffer nor leave gaps.
    for (const auto& [w, h] : {std::pair{1024, 640}, std::pair{1025, 641}, std::pair{954, 579}}) {
        const Bitmap target = Compose(w, h);
        for (int y = 567; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Source s = SourceOf(target.at(x, y));
                ASSERT_EQ(s.layer, kTile) << w << " at " << x << ", " << y;
                ASSERT_EQ(s.x, x % 128);
                ASSERT_EQ(s.y, y % 128);
            }
        }
        // Beyond the frame's right end (x 955 on) the tile shows beside it.
        if (w > 955) {
            EXPECT_EQ(SourceOf(target.at(955, 300)).layer, kTile);
        }
    }
}

TEST(DrawPicture, ClipsOnEverySideWithNegativeCoordinates) {
    const Bitmap picture = Coded(kLogo, 4, 3);
    struct {
        int x, y;
    } const places[] = {{-2, -1}, {3, 2}, {-10, 0}, {5, 0}, {0, 4}, {-4, -3}};
    for (const auto& at : places) {
        Bitmap target(5, 4, kUntouched);
        DrawPicture(target, picture, at.x, at.y);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                const bool inside = x >= at.x && x < at.x + 4 && y >= at.y && y < at.y + 3;
                EXPECT_EQ(target.at(x, y), inside ? picture.at(x - at.x, y - at.y) : kUntouched)
                    << at.x << ", " << at.y << " pixel " << x << ", " << y;
            }
        }
    }
}

}  // namespace
