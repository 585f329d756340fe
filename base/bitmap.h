// A 32-bit picture in memory: one 0xAARRGGBB value per pixel, rows top to
// bottom. The same layout as a top-down 32-bit DIB section, so composed
// pictures can be handed to GDI without conversion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height values

    Bitmap() = default;
    Bitmap(int w, int h, uint32_t fill = 0xFF000000u)
        : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    const uint32_t& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};
