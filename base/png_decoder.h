// PNG decoding for the pictures stored in the program's resources. Plain
// C++ on zlib, without Windows headers, so it also runs under the sanitizers
// and the fuzzer on Linux.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/bitmap.h"

// Largest width or height accepted, and largest pixel count: far beyond any
// picture we ship, small enough that a hostile header cannot make us
// allocate gigabytes.
constexpr uint32_t kPngMaxDimension = 16384;
constexpr uint64_t kPngMaxPixels = uint64_t{1} << 24;

// A decoded PNG: straight (not premultiplied) RGBA, 8 bits per channel, rows
// top to bottom, together with the header facts it was stored with.
struct PngImage {
    int width = 0;
    int height = 0;
    uint8_t colorType = 0;      // IHDR colour type: 0, 2, 3, 4 or 6
    uint8_t bitDepth = 0;       // IHDR bit depth: 1, 2, 4, 8 or 16
    std::vector<uint8_t> rgba;  // 4 * width * height bytes: R, G, B, A
};

// Decodes a complete PNG file held in memory. Every standard colour type and
// bit depth, palettes, tRNS transparency and Adam7 interlacing are
// supported; 16-bit samples keep their high byte; ancillary chunks (gamma,
// text, ...) are ignored. Throws Error ("Invalid PNG image: <reason>") for
// anything that is not a well-formed PNG: bad signature, truncation, CRC
// mismatch, bad header, unknown critical chunk, corrupt or wrongly sized
// compressed data, bad filter type, palette index out of range, or a size
// above kPngMaxDimension / kPngMaxPixels.
PngImage DecodePng(const uint8_t* data, size_t size);

// Decodes a PNG as an opaque picture: the result has the image's size, each
// pixel is the PNG's colour blended by its alpha over white, and every alpha
// is 255 (transparent parts come out white). Fails like DecodePng.
Bitmap DecodePngOpaque(const uint8_t* data, size_t size);
