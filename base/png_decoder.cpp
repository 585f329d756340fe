#include "base/png_decoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/error.h"

namespace {

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;

[[noreturn]] void Fail(const std::wstring& reason) {
    throw Error(L"Invalid PNG image: " + reason);
}

std::wstring Widen(const char* ascii) {
    std::wstring text;
    for (; *ascii != '\0'; ++ascii) text += static_cast<wchar_t>(static_cast<unsigned char>(*ascii));
    return text;
}

uint32_t ReadBe32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

uint16_t ReadBe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colorType = 0;
    uint8_t interlace = 0;
};

// Everything of a PNG file the pixels depend on, gathered from its chunks.
struct PngParts {
    Header header;
    std::vector<uint8_t> palette;       // RGB triples
    std::vector<uint8_t> paletteAlpha;  // tRNS of a palette image
    bool hasColorKey = false;           // tRNS of a grey or RGB image
    uint16_t colorKey[3] = {};
    std::vector<uint8_t> compressed;  // all IDAT data
};

int Channels(uint8_t colorType) {
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

bool IsValidDepth(uint8_t colorType, uint8_t depth) {
    switch (colorType) {
        case 0:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6:
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}

Header ParseHeader(const uint8_t* body, uint32_t length) {
    if (length != 13) Fail(L"bad IHDR chunk length");
    Header h;
    h.width = ReadBe32(body);
    h.height = ReadBe32(body + 4);
    h.bitDepth = body[8];
    h.colorType = body[9];
    h.interlace = body[12];
    if (h.width == 0 || h.height == 0) Fail(L"zero image width or height");
    if (h.width > kPngMaxDimension || h.height > kPngMaxDimension ||
        uint64_t{h.width} * h.height > kPngMaxPixels) {
        Fail(L"image too large (" + std::to_wstring(h.width) + L"x" + std::to_wstring(h.height) + L")");
    }
    if (h.colorType > 6 || h.colorType == 1 || h.colorType == 5) {
        Fail(L"unknown colour type " + std::to_wstring(h.colorType));
    }
    if (!IsValidDepth(h.colorType, h.bitDepth)) {
        Fail(L"bit depth " + std::to_wstring(h.bitDepth) + L" is not allowed for colour type " +
             std::to_wstring(h.colorType));
    }
    if (body[10] != 0) Fail(L"unknown compression method");
    if (body[11] != 0) Fail(L"unknown filter method");
    if (h.interlace > 1) Fail(L"unknown interlace method");
    return h;
}

void ParsePalette(PngParts& parts, const uint8_t* body, uint32_t length) {
    if (parts.header.colorType == 0 || parts.header.colorType == 4) Fail(L"PLTE chunk in a grey image");
    if (!parts.palette.empty()) Fail(L"more than one PLTE chunk");
    if (length == 0 || length % 3 != 0 || length > 256 * 3) Fail(L"bad PLTE chunk length");
    if (parts.header.colorType == 3 && length / 3 > (1u << parts.header.bitDepth)) {
        Fail(L"palette larger than the bit depth allows");
    }
    parts.palette.assign(body, body + length);
}

// Transparency applies to grey, RGB and palette images only; the PNG rules
// forbid it where an alpha channel exists, so there it is ignored.
void ParseTransparency(PngParts& parts, const uint8_t* body, uint32_t length) {
    switch (parts.header.colorType) {
        case 0:
            if (length != 2) Fail(L"bad tRNS chunk length");
            parts.hasColorKey = true;
            parts.colorKey[0] = ReadBe16(body);
            break;
        case 2:
            if (length != 6) Fail(L"bad tRNS chunk length");
            parts.hasColorKey = true;
            for (int i = 0; i < 3; ++i) parts.colorKey[i] = ReadBe16(body + 2 * i);
            break;
        case 3:
            if (parts.palette.empty()) Fail(L"tRNS chunk before PLTE");
            if (length > parts.palette.size() / 3) Fail(L"tRNS chunk longer than the palette");
            parts.paletteAlpha.assign(body, body + length);
            break;
        default:
            break;
    }
}

bool IsChunkType(const uint8_t* type) {
    for (int i = 0; i < 4; ++i) {
        const uint8_t c = type[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    }
    return true;
}

// Walks the chunks, checking framing, CRCs and order, and collects what the
// pixels need. Stops at IEND; anything after it is ignored.
PngParts ParseChunks(const uint8_t* data, size_t size) {
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
        Fail(L"not a PNG file (bad signature)");
    }
    PngParts parts;
    size_t pos = sizeof kSignature;
    bool haveHeader = false;
    bool haveTransparency = false;
    bool seenImageData = false;
    bool imageDataEnded = false;
    for (;;) {
        if (size - pos < 12) Fail(L"the file is truncated");
        const uint32_t length = ReadBe32(data + pos);
        const uint8_t* type = data + pos + 4;
        if (!IsChunkType(type)) Fail(L"bad chunk type");
        const std::string name(reinterpret_cast<const char*>(type), 4);
        const std::wstring wideName(name.begin(), name.end());
        if (length > kMaxChunkLength || length > size - pos - 12) Fail(L"chunk " + wideName + L" is truncated");
        const uint8_t* body = type + 4;
        if (crc32(0, type, 4 + length) != ReadBe32(body + length)) Fail(L"CRC mismatch in chunk " + wideName);
        pos += size_t{12} + length;

        if (!haveHeader && name != "IHDR") Fail(L"the first chunk is not IHDR");
        if (seenImageData && name != "IDAT") imageDataEnded = true;
        if (name == "IHDR") {
            if (haveHeader) Fail(L"more than one IHDR chunk");
            parts.header = ParseHeader(body, length);
            haveHeader = true;
        } else if (name == "PLTE") {
            if (seenImageData) Fail(L"PLTE chunk after the image data");
            ParsePalette(parts, body, length);
        } else if (name == "tRNS") {
            if (seenImageData) Fail(L"tRNS chunk after the image data");
            if (haveTransparency) Fail(L"more than one tRNS chunk");
            ParseTransparency(parts, body, length);
            haveTransparency = true;
        } else if (name == "IDAT") {
            if (imageDataEnded) Fail(L"IDAT chunks are not consecutive");
            parts.compressed.insert(parts.compressed.end(), body, body + length);
            seenImageData = true;
        } else if (name == "IEND") {
            break;
        } else if ((type[0] & 0x20) == 0) {
            Fail(L"unknown critical chunk " + wideName);
        }
    }
    if (!seenImageData) Fail(L"no image data (IDAT chunk)");
    if (parts.header.colorType == 3 && parts.palette.empty()) Fail(L"palette image without PLTE chunk");
    return parts;
}

// One Adam7 pass, or the whole image when not interlaced.
struct Pass {
    uint32_t x0, y0, dx, dy;
    uint32_t width, height;  // in pixels, never zero: empty passes are left out
};

std::vector<Pass> Passes(const Header& h) {
    static const uint32_t kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    if (h.interlace == 0) return {{0, 0, 1, 1, h.width, h.height}};
    std::vector<Pass> passes;
    for (const auto& a : kAdam7) {
        const uint32_t w = h.width > a[0] ? (h.width - a[0] + a[2] - 1) / a[2] : 0;
        const uint32_t hh = h.height > a[1] ? (h.height - a[1] + a[3] - 1) / a[3] : 0;
        if (w != 0 && hh != 0) passes.push_back({a[0], a[1], a[2], a[3], w, hh});
    }
    return passes;
}

size_t RowBytes(const Header& h, uint32_t width) {
    const uint64_t bits = uint64_t{width} * static_cast<uint64_t>(Channels(h.colorType) * h.bitDepth);
    return static_cast<size_t>((bits + 7) / 8);
}

// Inflates the zlib stream into exactly `expected` bytes; a stream that
// yields more or less, or is damaged, fails. The output grows as data
// arrives, so a lying header cannot force a large allocation by itself.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& compressed, size_t expected) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) Fail(L"cannot start decompression");
    struct EndGuard {
        z_stream& s;
        ~EndGuard() { inflateEnd(&s); }
    } guard{stream};

    constexpr size_t kStep = size_t{1} << 30;  // avail_in/avail_out are 32-bit
    const uint8_t* in = compressed.data();
    size_t inLeft = compressed.size();
    std::vector<uint8_t> out;
    size_t produced = 0;
    uint8_t excess = 0;
    for (;;) {
        if (stream.avail_in == 0 && inLeft > 0) {
            const size_t n = std::min(inLeft, kStep);
            stream.next_in = const_cast<Bytef*>(in);
            stream.avail_in = static_cast<uInt>(n);
            in += n;
            inLeft -= n;
        }
        const bool full = produced == expected;
        if (full) {
            stream.next_out = &excess;
            stream.avail_out = 1;
        } else {
            if (produced == out.size()) out.resize(std::min(expected, std::max<size_t>(out.size() * 2, 65536)));
            stream.next_out = out.data() + produced;
            stream.avail_out = static_cast<uInt>(std::min(out.size() - produced, kStep));
        }
        const uInt room = stream.avail_out;
        const int rc = inflate(&stream, Z_NO_FLUSH);
        const uInt written = room - stream.avail_out;
        if (full && written != 0) Fail(L"too much image data");
        if (!full) produced += written;
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR && stream.avail_in == 0) {
            if (inLeft == 0) Fail(L"the compressed image data are truncated");
            continue;
        }
        if (rc != Z_OK) {
            Fail(L"corrupt compressed image data" +
                 (stream.msg ? L" (" + Widen(stream.msg) + L")" : std::wstring()));
        }
    }
    if (produced != expected) Fail(L"too little image data");
    return out;
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Reverses the filter of one row in place; `prior` is the previous row of
// the same pass (already unfiltered), or a row of zeros for the first row.
void Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length, size_t bpp) {
    const size_t edge = std::min(bpp, length);
    switch (filter) {
        case 0:
            break;
        case 1:
            for (size_t i = bpp; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
            break;
        case 2:
            for (size_t i = 0; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
            break;
        case 3:
            for (size_t i = 0; i < edge; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i] / 2);
            for (size_t i = bpp; i < length; ++i)
                row[i] = static_cast<uint8_t>(row[i] + (row[i - bpp] + prior[i]) / 2);
            break;
        case 4:
            for (size_t i = 0; i < edge; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
            for (size_t i = bpp; i < length; ++i)
                row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
            break;
        default:
            Fail(L"unknown row filter type " + std::to_wstring(filter));
    }
}

// Sample `index` of an unfiltered row at the image's bit depth.
uint32_t Sample(const uint8_t* row, size_t index, int depth) {
    if (depth == 16) return uint32_t{row[2 * index]} << 8 | row[2 * index + 1];
    if (depth == 8) return row[index];
    const size_t bit = index * static_cast<size_t>(depth);
    return (row[bit / 8] >> (8 - depth - static_cast<int>(bit % 8))) & ((1u << depth) - 1);
}

uint8_t ToByte(uint32_t sample, int depth) {
    if (depth == 16) return static_cast<uint8_t>(sample >> 8);
    return static_cast<uint8_t>(sample * 255 / ((1u << depth) - 1));
}

// Converts `count` pixels of an unfiltered row to RGBA.
void ConvertRow(const PngParts& parts, const uint8_t* row, uint32_t count, uint8_t* out, size_t outStep) {
    const Header& h = parts.header;
    const int depth = h.bitDepth;
    const int channels = Channels(h.colorType);
    if (depth == 8 && h.colorType == 6) {
        for (uint32_t i = 0; i < count; ++i, out += outStep, row += 4) std::memcpy(out, row, 4);
        return;
    }
    if (depth == 8 && h.colorType == 2 && !parts.hasColorKey) {
        for (uint32_t i = 0; i < count; ++i, out += outStep, row += 3) {
            std::memcpy(out, row, 3);
            out[3] = 255;
        }
        return;
    }
    for (uint32_t i = 0; i < count; ++i, out += outStep) {
        uint32_t s[4] = {};
        for (int c = 0; c < channels; ++c) s[c] = Sample(row, size_t{i} * channels + c, depth);
        switch (h.colorType) {
            case 0:
                out[0] = out[1] = out[2] = ToByte(s[0], depth);
                out[3] = parts.hasColorKey && s[0] == parts.colorKey[0] ? 0 : 255;
                break;
            case 2:
                for (int c = 0; c < 3; ++c) out[c] = ToByte(s[c], depth);
                out[3] = parts.hasColorKey && s[0] == parts.colorKey[0] && s[1] == parts.colorKey[1] &&
                                 s[2] == parts.colorKey[2]
                             ? 0
                             : 255;
                break;
            case 3:
                if (s[0] >= parts.palette.size() / 3) Fail(L"palette index out of range");
                std::memcpy(out, &parts.palette[s[0] * 3], 3);
                out[3] = s[0] < parts.paletteAlpha.size() ? parts.paletteAlpha[s[0]] : 255;
                break;
            case 4:
                out[0] = out[1] = out[2] = ToByte(s[0], depth);
                out[3] = ToByte(s[1], depth);
                break;
            default:
                for (int c = 0; c < 4; ++c) out[c] = ToByte(s[c], depth);
                break;
        }
    }
}

}  // namespace

PngImage DecodePng(const uint8_t* data, size_t size) {
    if (data == nullptr) size = 0;
    const PngParts parts = ParseChunks(data, size);
    const Header& h = parts.header;
    const std::vector<Pass> passes = Passes(h);

    uint64_t expected = 0;
    for (const Pass& p : passes) expected += uint64_t{p.height} * (1 + RowBytes(h, p.width));
    std::vector<uint8_t> raw = Inflate(parts.compressed, static_cast<size_t>(expected));

    PngImage image;
    image.width = static_cast<int>(h.width);
    image.height = static_cast<int>(h.height);
    image.colorType = h.colorType;
    image.bitDepth = h.bitDepth;
    image.rgba.resize(size_t{h.width} * h.height * 4);

    const size_t bpp = std::max<size_t>(1, static_cast<size_t>(Channels(h.colorType) * h.bitDepth / 8));
    uint8_t* row = raw.data();
    for (const Pass& p : passes) {
        const size_t length = RowBytes(h, p.width);
        const std::vector<uint8_t> zeros(length);
        const uint8_t* prior = zeros.data();
        for (uint32_t j = 0; j < p.height; ++j) {
            Unfilter(row[0], row + 1, prior, length, bpp);
            const size_t y = p.y0 + size_t{j} * p.dy;
            uint8_t* out = &image.rgba[(y * h.width + p.x0) * 4];
            ConvertRow(parts, row + 1, p.width, out, size_t{p.dx} * 4);
            prior = row + 1;
            row += 1 + length;
        }
    }
    return image;
}

Bitmap DecodePngOpaque(const uint8_t* data, size_t size) {
    const PngImage image = DecodePng(data, size);
    Bitmap bitmap(image.width, image.height, 0xFFFFFFFFu);
    for (size_t i = 0; i < bitmap.pixels.size(); ++i) {
        const uint8_t* p = &image.rgba[i * 4];
        const uint32_t a = p[3];
        if (a == 255) {
            bitmap.pixels[i] = 0xFF000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
            continue;
        }
        auto overWhite = [a](uint32_t c) { return (c * a + 255 * (255 - a) + 127) / 255; };
        bitmap.pixels[i] = 0xFF000000u | overWhite(p[0]) << 16 | overWhite(p[1]) << 8 | overWhite(p[2]);
    }
    return bitmap;
}
