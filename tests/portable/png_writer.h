// A small PNG encoder for tests: builds files of any colour type, bit depth,
// filter choice and interlacing from plain sample values, and lets a test
// assemble damaged files chunk by chunk.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace png_writer {

using Bytes = std::vector<uint8_t>;

// Picture content as the PNG stores it: one value per channel per pixel at
// the file's bit depth (palette indices for colour type 3), rows top down.
struct RawImage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t colorType = 6;
    uint8_t bitDepth = 8;
    bool interlaced = false;
    std::vector<uint16_t> samples;
    Bytes palette;                    // PLTE body, written when not empty
    Bytes transparency;               // tRNS body, written when not empty
    std::vector<uint8_t> filters{0};  // filter type per scanline, repeated
};

inline int ChannelCount(uint8_t colorType) {
    switch (colorType) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 1;
    }
}

inline void PutBe32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// One chunk: length, type, body, CRC.
inline Bytes Chunk(const std::string& type, const Bytes& body) {
    Bytes out;
    PutBe32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), body.begin(), body.end());
    // The CRC covers type and body, which now sit together in `out`.
    PutBe32(out, static_cast<uint32_t>(crc32(0, out.data() + 4, static_cast<uInt>(out.size() - 4))));
    return out;
}

inline Bytes HeaderBody(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colorType,
                        uint8_t interlace = 0) {
    Bytes body;
    PutBe32(body, width);
    PutBe32(body, height);
    body.insert(body.end(), {bitDepth, colorType, 0, 0, interlace});
    return body;
}

// The signature followed by the given chunks.
inline Bytes Assemble(const std::vector<Bytes>& chunks) {
    Bytes out{137, 80, 78, 71, 13, 10, 26, 10};
    for (const Bytes& c : chunks) out.insert(out.end(), c.begin(), c.end());
    return out;
}

inline Bytes Compress(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9) != Z_OK) {
        throw std::runtime_error("compress2 failed");
    }
    out.resize(size);
    return out;
}

// Packs one row of samples (MSB first below 8 bits, big-endian at 16).
inline Bytes PackRow(const RawImage& img, const std::vector<uint16_t>& samples) {
    Bytes row;
    if (img.bitDepth == 16) {
        for (uint16_t s : samples) row.insert(row.end(), {static_cast<uint8_t>(s >> 8), static_cast<uint8_t>(s)});
    } else if (img.bitDepth == 8) {
        for (uint16_t s : samples) row.push_back(static_cast<uint8_t>(s));
    } else {
        row.assign((samples.size() * img.bitDepth + 7) / 8, 0);
        for (size_t i = 0; i < samples.size(); ++i) {
            const size_t bit = i * img.bitDepth;
            row[bit / 8] |= static_cast<uint8_t>(samples[i] << (8 - img.bitDepth - bit % 8));
        }
    }
    return row;
}

inline uint8_t PaethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Filters `row` against `prior` (zeros for a pass's first row).
inline Bytes FilterRow(uint8_t filter, const Bytes& row, const Bytes& prior, size_t bpp) {
    Bytes out{filter};
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int b = prior[i];
        const int c = i >= bpp ? prior[i - bpp] : 0;
        int predicted = 0;
        switch (filter) {
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 3:
                predicted = (a + b) / 2;
                break;
            case 4:
                predicted = PaethPredictor(a, b, c);
                break;
            default:
                break;
        }
        out.push_back(static_cast<uint8_t>(row[i] - predicted));
    }
    return out;
}

// The filtered scanlines (the uncompressed IDAT content) of the image.
inline Bytes Scanlines(const RawImage& img) {
    using InterlacePass = std::array<uint32_t, 4>;  // x0, y0, dx, dy
    const std::vector<InterlacePass> passes =
        img.interlaced ? std::vector<InterlacePass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                                    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
                       : std::vector<InterlacePass>{{0, 0, 1, 1}};
    const int channels = ChannelCount(img.colorType);
    const size_t bpp = std::max<size_t>(1, static_cast<size_t>(channels * img.bitDepth / 8));
    Bytes out;
    size_t rowIndex = 0;
    for (const InterlacePass& pass : passes) {
        Bytes prior;
        for (uint32_t y = pass[1]; y < img.height; y += pass[3]) {
            std::vector<uint16_t> samples;
            for (uint32_t x = pass[0]; x < img.width; x += pass[2]) {
                for (int c = 0; c < channels; ++c)
                    samples.push_back(img.samples[(size_t{y} * img.width + x) * channels + c]);
            }
            if (samples.empty()) break;  // empty pass: no scanlines at all
            const Bytes row = PackRow(img, samples);
            if (prior.empty()) prior.assign(row.size(), 0);
            const Bytes filtered = FilterRow(img.filters[rowIndex++ % img.filters.size()], row, prior, bpp);
            out.insert(out.end(), filtered.begin(), filtered.end());
            prior = row;
        }
    }
    return out;
}

inline Bytes HeaderChunk(const RawImage& img) {
    return Chunk("IHDR", HeaderBody(img.width, img.height, img.bitDepth, img.colorType, img.interlaced ? 1 : 0));
}

// Header, palette and transparency chunks, `idat` as one IDAT, and IEND.
inline Bytes EncodeWithData(const RawImage& img, const Bytes& idat) {
    std::vector<Bytes> chunks{HeaderChunk(img)};
    if (!img.palette.empty()) chunks.push_back(Chunk("PLTE", img.palette));
    if (!img.transparency.empty()) chunks.push_back(Chunk("tRNS", img.transparency));
    chunks.push_back(Chunk("IDAT", idat));
    chunks.push_back(Chunk("IEND", {}));
    return Assemble(chunks);
}

// A complete, valid PNG file of the image.
inline Bytes Encode(const RawImage& img) {
    return EncodeWithData(img, Compress(Scanlines(img)));
}

}  // namespace png_writer
