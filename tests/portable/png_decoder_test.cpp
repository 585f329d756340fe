#include "base/png_decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/error.h"
#include "tests/portable/png_writer.h"

namespace {

using png_writer::Bytes;
using png_writer::RawImage;

struct Format {
    uint8_t colorType;
    uint8_t bitDepth;
};

// Every colour type / bit depth pair the PNG format allows.
const Format kAllFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                              {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

uint32_t Mix(uint32_t x, uint32_t y, uint32_t c) {
    uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u ^ c * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 12);
}

// An image whose samples cover the whole value range of its format; palette
// images get a full palette of distinct colours.
RawImage MakeImage(Format f, uint32_t width, uint32_t height) {
    RawImage img;
    img.width = width;
    img.height = height;
    img.colorType = f.colorType;
    img.bitDepth = f.bitDepth;
    const int channels = png_writer::ChannelCount(f.colorType);
    const uint32_t levels = 1u << f.bitDepth;
    if (f.colorType == 3) {
        for (uint32_t i = 0; i < levels; ++i) {
            img.palette.insert(img.palette.end(), {static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i),
                                                   static_cast<uint8_t>(i * 7 + 1)});
        }
    }
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                img.samples.push_back(static_cast<uint16_t>(Mix(x, y, static_cast<uint32_t>(c)) % levels));
            }
        }
    }
    return img;
}

// The 8-bit value of a sample: low depths are scaled up exactly, 16 bits
// keep the high byte.
uint8_t Expected8(uint16_t v, int depth) {
    switch (depth) {
        case 1:
            return static_cast<uint8_t>(v * 255);
        case 2:
            return static_cast<uint8_t>(v * 85);
        case 4:
            return static_cast<uint8_t>(v * 17);
        case 8:
            return static_cast<uint8_t>(v);
        default:
            return static_cast<uint8_t>(v >> 8);
    }
}

// RGBA of an image without tRNS.
Bytes ExpectedRgba(const RawImage& img) {
    const int channels = png_writer::ChannelCount(img.colorType);
    Bytes out;
    for (size_t i = 0; i < size_t{img.width} * img.height; ++i) {
        const uint16_t* s = &img.samples[i * channels];
        auto v = [&](int c) { return Expected8(s[c], img.bitDepth); };
        switch (img.colorType) {
            case 0:
                out.insert(out.end(), {v(0), v(0), v(0), 255});
                break;
            case 2:
                out.insert(out.end(), {v(0), v(1), v(2), 255});
                break;
            case 3:
                out.insert(out.end(), img.palette.begin() + s[0] * 3, img.palette.begin() + s[0] * 3 + 3);
                out.push_back(255);
                break;
            case 4:
                out.insert(out.end(), {v(0), v(0), v(0), v(1)});
                break;
            default:
                out.insert(out.end(), {v(0), v(1), v(2), v(3)});
                break;
        }
    }
    return out;
}

PngImage Decode(const Bytes& file) {
    return DecodePng(file.data(), file.size());
}

std::string Describe(Format f) {
    return "colour type " + std::to_string(f.colorType) + ", depth " + std::to_string(f.bitDepth);
}

TEST(PngDecoder, DecodesEveryColourTypeAndBitDepth) {
    for (const Format f : kAllFormats) {
        SCOPED_TRACE(Describe(f));
        // 13 pixels wide, so rows of low bit depths end in a partial byte.
        const RawImage img = MakeImage(f, 13, 7);
        const PngImage decoded = Decode(png_writer::Encode(img));
        EXPECT_EQ(decoded.width, 13);
        EXPECT_EQ(decoded.height, 7);
        EXPECT_EQ(decoded.colorType, f.colorType);
        EXPECT_EQ(decoded.bitDepth, f.bitDepth);
        EXPECT_EQ(decoded.rgba, ExpectedRgba(img));
    }
}

TEST(PngDecoder, ReversesEveryFilterType) {
    // Sub-byte, 3-byte and 8-byte pixels, so the filters' left neighbour
    // distance varies.
    const Format formats[] = {{0, 1}, {3, 4}, {2, 8}, {6, 16}};
    const std::vector<std::vector<uint8_t>> filterSets = {{0}, {1}, {2}, {3}, {4}, {4, 3, 2, 1, 0}};
    for (const Format f : formats) {
        for (const auto& filters : filterSets) {
            SCOPED_TRACE(Describe(f) + ", first filter " + std::to_string(filters[0]));
            RawImage img = MakeImage(f, 11, 9);
            img.filters = filters;
            EXPECT_EQ(Decode(png_writer::Encode(img)).rgba, ExpectedRgba(img));
        }
    }
}

TEST(PngDecoder, Adam7InterlacedGivesTheSamePixels) {
    // Sizes below 8 leave some passes empty; the others cut passes short.
    const std::pair<uint32_t, uint32_t> sizes[] = {{1, 1}, {2, 3}, {5, 1}, {8, 8}, {9, 13}, {33, 7}};
    const Format formats[] = {{0, 1}, {3, 2}, {2, 16}, {6, 8}};
    for (const Format f : formats) {
        for (const auto& [w, h] : sizes) {
            SCOPED_TRACE(Describe(f) + ", " + std::to_string(w) + "x" + std::to_string(h));
            RawImage img = MakeImage(f, w, h);
            img.filters = {1, 4, 2, 0, 3};
            const PngImage plain = Decode(png_writer::Encode(img));
            img.interlaced = true;
            const PngImage interlaced = Decode(png_writer::Encode(img));
            EXPECT_EQ(interlaced.rgba, plain.rgba);
            EXPECT_EQ(interlaced.rgba, ExpectedRgba(img));
        }
    }
}

TEST(PngDecoder, AppliesTransparencyChunk) {
    struct Case {
        const char* name;
        RawImage img;
        Bytes expected;
    };
    auto image = [](uint8_t type, uint8_t depth, std::vector<uint16_t> samples, Bytes trns, Bytes palette = {}) {
        RawImage img;
        img.colorType = type;
        img.bitDepth = depth;
        img.samples = std::move(samples);
        img.width = static_cast<uint32_t>(img.samples.size() / png_writer::ChannelCount(type));
        img.height = 1;
        img.transparency = std::move(trns);
        img.palette = std::move(palette);
        return img;
    };
    const Case cases[] = {
        {"grey 16-bit key compares all 16 bits",
         image(0, 16, {0x1234, 0x12FF}, {0x12, 0x34}),
         {0x12, 0x12, 0x12, 0, 0x12, 0x12, 0x12, 255}},
        {"grey 2-bit key",
         image(0, 2, {1, 2, 3}, {0, 2}),
         {85, 85, 85, 255, 170, 170, 170, 0, 255, 255, 255, 255}},
        {"RGB key needs all three channels",
         image(2, 8, {1, 2, 3, 1, 2, 4}, {0, 1, 0, 2, 0, 3}),
         {1, 2, 3, 0, 1, 2, 4, 255}},
        {"palette alpha shorter than palette",
         image(3, 2, {0, 1, 2}, {0, 128}, {10, 20, 30, 40, 50, 60, 70, 80, 90}),
         {10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255}},
        {"RGBA keeps its own alpha", image(6, 8, {1, 2, 3, 77}, {0, 1, 0, 2, 0, 3}), {1, 2, 3, 77}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Decode(png_writer::Encode(c.img)).rgba, c.expected);
    }
}

TEST(PngDecoder, OpaqueBitmapBlendsOverWhite) {
    const struct {
        uint16_t r, g, b, a;
        uint32_t expected;
    } pixels[] = {
        {0, 0, 0, 0, 0xFFFFFFFF},       // transparent comes out white
        {10, 20, 30, 255, 0xFF0A141E},  // opaque stays as it is
        {0, 0, 0, 128, 0xFF7F7F7F},     // half-transparent black: grey
        {200, 100, 0, 1, 0xFFFFFEFE},   // nearly transparent
        {255, 0, 128, 64, 0xFFFFBFDF},  // a quarter opaque
        {12, 34, 56, 254, 0xFF0D2339},  // nearly opaque
        {127, 0, 255, 1, 0xFFFEFEFF},   // red is 254.498: rounds down
    };
    RawImage img;
    img.width = static_cast<uint32_t>(std::size(pixels));
    img.height = 1;
    std::vector<uint32_t> expected;
    for (const auto& p : pixels) {
        img.samples.insert(img.samples.end(), {p.r, p.g, p.b, p.a});
        expected.push_back(p.expected);
    }
    const Bytes file = png_writer::Encode(img);
    const Bitmap bitmap = DecodePngOpaque(file.data(), file.size());
    EXPECT_EQ(bitmap.width, static_cast<int>(std::size(pixels)));
    EXPECT_EQ(bitmap.height, 1);
    EXPECT_EQ(bitmap.pixels, expected);
}

TEST(PngDecoder, IgnoresAncillaryChunksAndJoinsSplitImageData) {
    const RawImage img = MakeImage({2, 8}, 10, 10);
    const Bytes data = png_writer::Compress(png_writer::Scanlines(img));
    const size_t third = data.size() / 3;
    using png_writer::Chunk;
    const Bytes file = png_writer::Assemble({
        png_writer::HeaderChunk(img),
        Chunk("gAMA", {0, 0, 0x27, 0x10}),  // gamma 0.1 would change every colour if applied
        Chunk("tEXt", {'T', 'i', 't', 'l', 'e', 0, 'x'}),
        Chunk("IDAT", Bytes(data.begin(), data.begin() + third)),
        Chunk("IDAT", Bytes(data.begin() + third, data.begin() + 2 * third)),
        Chunk("IDAT", Bytes(data.begin() + 2 * third, data.end())),
        Chunk("zzZz", {1, 2, 3}),
        Chunk("IEND", {}),
        {'t', 'r', 'a', 'i', 'l', 'e', 'r'},
    });
    EXPECT_EQ(Decode(file).rgba, ExpectedRgba(img));
}

void ExpectRejected(const Bytes& file, const std::wstring& reason) {
    try {
        DecodePng(file.data(), file.size());
        ADD_FAILURE() << "decoded without error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text().rfind(L"Invalid PNG image: ", 0), 0u) << e.what();
        EXPECT_NE(e.text().find(reason), std::wstring::npos) << e.what();
    }
}

TEST(PngDecoder, RejectsMalformedFiles) {
    using png_writer::Assemble;
    using png_writer::Chunk;
    using png_writer::Compress;
    using png_writer::HeaderBody;
    const RawImage base = MakeImage({6, 8}, 4, 3);
    const Bytes scanlines = png_writer::Scanlines(base);
    const Bytes header = png_writer::HeaderChunk(base);
    const Bytes idat = Chunk("IDAT", Compress(scanlines));
    const Bytes iend = Chunk("IEND", {});
    const Bytes valid = Assemble({header, idat, iend});
    auto withHeader = [&](const Bytes& body) { return Assemble({Chunk("IHDR", body), idat, iend}); };
    auto headerWithByte = [&](size_t index, uint8_t value) {
        Bytes body = HeaderBody(4, 3, 8, 6);
        body[index] = value;
        return withHeader(body);
    };
    auto withData = [&](const Bytes& data) { return Assemble({header, Chunk("IDAT", data), iend}); };
    auto flipped = [&](size_t offset) {
        Bytes file = valid;
        file[offset] ^= 0x40;
        return file;
    };
    const Bytes grey = png_writer::HeaderChunk(MakeImage({0, 8}, 4, 3));
    const Bytes rgb = png_writer::HeaderChunk(MakeImage({2, 8}, 4, 3));
    const Bytes palette4 = png_writer::HeaderChunk(MakeImage({3, 4}, 4, 3));
    const Bytes pal = Chunk("PLTE", Bytes(3 * 16, 9));
    RawImage badIndex = MakeImage({3, 2}, 4, 3);
    badIndex.palette.resize(3 * 3);  // indices 0..3 occur; only 0..2 are defined
    Bytes tooLong = valid;
    tooLong[8 + 25] = 0x80;  // IDAT length 0x80xxxxxx
    Bytes badFilter = scanlines;
    badFilter[0] = 5;
    Bytes extra = scanlines;
    extra.push_back(0);
    const Bytes compressed = Compress(scanlines);

    const struct {
        const char* name;
        Bytes file;
        std::wstring reason;
    } cases[] = {
        {"empty", {}, L"bad signature"},
        {"GIF signature", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}, L"bad signature"},
        {"signature only", Assemble({}), L"the file is truncated"},
        {"IHDR CRC", flipped(8 + 21 + 2), L"CRC mismatch in chunk IHDR"},
        {"IHDR data", flipped(8 + 8 + 1), L"CRC mismatch in chunk IHDR"},
        {"IDAT data", flipped(8 + 25 + 8 + 3), L"CRC mismatch in chunk IDAT"},
        {"IHDR not first", Assemble({idat, header, iend}), L"the first chunk is not IHDR"},
        {"short IHDR", withHeader(Bytes(12, 1)), L"bad IHDR chunk length"},
        {"zero width", withHeader(HeaderBody(0, 3, 8, 6)), L"zero image width or height"},
        {"zero height", withHeader(HeaderBody(4, 0, 8, 6)), L"zero image width or height"},
        {"wide", withHeader(HeaderBody(16385, 1, 8, 6)), L"image too large (16385x1)"},
        {"huge", withHeader(HeaderBody(0xFFFFFFFF, 0xFFFFFFFF, 8, 6)), L"image too large"},
        {"negative as int", withHeader(HeaderBody(0x80000000, 1, 8, 6)), L"image too large"},
        {"too many pixels", withHeader(HeaderBody(8192, 4096, 1, 0)), L"image too large"},
        {"colour type 1", headerWithByte(9, 1), L"unknown colour type 1"},
        {"colour type 5", headerWithByte(9, 5), L"unknown colour type 5"},
        {"colour type 7", headerWithByte(9, 7), L"unknown colour type 7"},
        {"grey depth 3", withHeader(HeaderBody(4, 3, 3, 0)), L"bit depth 3 is not allowed for colour type 0"},
        {"palette depth 16", withHeader(HeaderBody(4, 3, 16, 3)), L"bit depth 16 is not allowed"},
        {"RGB depth 4", withHeader(HeaderBody(4, 3, 4, 2)), L"bit depth 4 is not allowed"},
        {"RGBA depth 0", headerWithByte(8, 0), L"bit depth 0 is not allowed"},
        {"compression", headerWithByte(10, 1), L"unknown compression method"},
        {"filter method", headerWithByte(11, 1), L"unknown filter method"},
        {"interlace", headerWithByte(12, 2), L"unknown interlace method"},
        {"two IHDR", Assemble({header, header, idat, iend}), L"more than one IHDR"},
        {"no PLTE", Assemble({palette4, idat, iend}), L"palette image without PLTE chunk"},
        {"palette index", png_writer::Encode(badIndex), L"palette index out of range"},
        {"PLTE in grey", Assemble({grey, pal, idat, iend}), L"PLTE chunk in a grey image"},
        {"PLTE length", Assemble({palette4, Chunk("PLTE", Bytes(4, 1)), idat, iend}), L"bad PLTE chunk length"},
        {"PLTE 257", Assemble({header, Chunk("PLTE", Bytes(3 * 257, 1)), idat, iend}), L"bad PLTE chunk length"},
        {"PLTE over depth", Assemble({palette4, Chunk("PLTE", Bytes(3 * 17, 1)), idat, iend}),
         L"palette larger than the bit depth allows"},
        {"two PLTE", Assemble({palette4, pal, pal, idat, iend}), L"more than one PLTE chunk"},
        {"PLTE late", Assemble({palette4, idat, pal, iend}), L"PLTE chunk after the image data"},
        {"grey tRNS", Assemble({grey, Chunk("tRNS", {0, 1, 2}), idat, iend}), L"bad tRNS chunk length"},
        {"RGB tRNS", Assemble({rgb, Chunk("tRNS", {0, 1}), idat, iend}), L"bad tRNS chunk length"},
        {"tRNS > palette", Assemble({palette4, pal, Chunk("tRNS", Bytes(17, 0)), idat, iend}),
         L"tRNS chunk longer than the palette"},
        {"tRNS first", Assemble({palette4, Chunk("tRNS", {0}), pal, idat, iend}), L"tRNS chunk before PLTE"},
        {"two tRNS", Assemble({grey, Chunk("tRNS", {0, 1}), Chunk("tRNS", {0, 1}), idat, iend}),
         L"more than one tRNS chunk"},
        {"tRNS late", Assemble({grey, idat, Chunk("tRNS", {0, 1}), iend}), L"tRNS chunk after the image data"},
        {"no IDAT", Assemble({header, iend}), L"no image data (IDAT chunk)"},
        {"IDAT split", Assemble({header, idat, Chunk("tEXt", {'a', 0}), idat, iend}), L"not consecutive"},
        {"no IEND", Assemble({header, idat}), L"the file is truncated"},
        {"critical", Assemble({header, Chunk("ABCD", {1}), idat, iend}), L"unknown critical chunk ABCD"},
        {"chunk type", Assemble({header, Chunk("AB1D", {1}), idat, iend}), L"bad chunk type"},
        {"chunk length", tooLong, L"chunk IDAT is truncated"},
        {"not zlib", withData({'n', 'o', 't', ' ', 'z', 'l', 'i', 'b'}), L"corrupt compressed image data"},
        {"cut stream", withData(Bytes(compressed.begin(), compressed.end() - 6)),
         L"the compressed image data are truncated"},
        {"short data", withData(Compress(Bytes(scanlines.begin(), scanlines.end() - 1))),
         L"too little image data"},
        {"long data", withData(Compress(extra)), L"too much image data"},
        {"filter type", withData(Compress(badFilter)), L"unknown row filter type 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRejected(c.file, c.reason);
    }
}

// A small file using palette, transparency and interlacing, so every
// parsing stage is reached by some cut or corruption.
Bytes SmallInterlacedPaletteFile() {
    RawImage img = MakeImage({3, 2}, 5, 4);
    img.transparency = {0, 100};
    img.interlaced = true;
    img.filters = {0, 1, 2, 3, 4};
    return png_writer::Encode(img);
}

TEST(PngDecoder, EveryTruncationFails) {
    const Bytes file = SmallInterlacedPaletteFile();
    ASSERT_NO_THROW(Decode(file));
    for (size_t length = 0; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        // An exact-size copy, so a read past the end trips the sanitizer.
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(DecodePng(cut.data(), cut.size()), Error);
    }
}

TEST(PngDecoder, EverySingleByteCorruptionFails) {
    const Bytes file = SmallInterlacedPaletteFile();
    for (size_t offset = 0; offset < file.size(); ++offset) {
        for (const uint8_t mask : {0x01, 0x80}) {
            SCOPED_TRACE(std::to_string(offset) + " ^ " + std::to_string(mask));
            Bytes damaged = file;
            damaged[offset] ^= mask;
            EXPECT_THROW(Decode(damaged), Error);
        }
    }
}

Bytes ReadResource(const std::string& name) {
    std::ifstream in(std::string(VH_RESOURCE_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bitmap LoadResource(const std::string& name) {
    const Bytes file = ReadResource(name);
    return DecodePngOpaque(file.data(), file.size());
}

TEST(ShippedPictures, HaveTheirDocumentedSizeAndFormat) {
    const struct {
        const char* file;
        int width;
        int height;
        uint8_t colorType;
        bool opaque;
    } pictures[] = {
        {"BACKGROUND.png", 128, 128, 2, true},  {"MAIN.png", 958, 472, 6, false},
        {"LOGO.png", 72, 70, 6, true},          {"TITLE_PNL_L.png", 22, 100, 6, false},
        {"TITLE_PNL_R.png", 22, 100, 6, false}, {"TITLE_PNL_M.png", 1, 100, 6, false},
        {"TITLE.png", 500, 66, 6, true},        {"GLYPH_OK.png", 16, 16, 6, false},
        {"GLYPH_CANCEL.png", 16, 16, 6, false},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.file);
        const Bytes file = ReadResource(p.file);
        const PngImage image = Decode(file);
        EXPECT_EQ(image.width, p.width);
        EXPECT_EQ(image.height, p.height);
        EXPECT_EQ(image.colorType, p.colorType);
        EXPECT_EQ(image.bitDepth, 8);
        if (p.opaque) {
            for (size_t i = 3; i < image.rgba.size(); i += 4) ASSERT_EQ(image.rgba[i], 255) << "pixel " << i / 4;
        }
    }
}

constexpr uint32_t kPageColour = 0xFFECECEB;  // RGB(236, 236, 235)

TEST(ShippedPictures, TitleBannerStartsWithThePageColour) {
    EXPECT_EQ(LoadResource("TITLE.png").at(0, 0), kPageColour);
}

TEST(ShippedPictures, PanelInteriorsArePageColoured) {
    // The side panel and the page control sit on these areas of the frame.
    const Bitmap frame = LoadResource("MAIN.png");
    const struct {
        int left, top, right, bottom;  // inclusive
    } interiors[] = {{19, 15, 300, 455}, {323, 15, 941, 455}};
    for (const auto& r : interiors) {
        for (int y = r.top; y <= r.bottom; ++y) {
            for (int x = r.left; x <= r.right; ++x) ASSERT_EQ(frame.at(x, y), kPageColour) << x << "," << y;
        }
    }
}

TEST(ShippedPictures, TitleStripMiddleContinuesBothEnds) {
    const Bitmap left = LoadResource("TITLE_PNL_L.png");
    const Bitmap middle = LoadResource("TITLE_PNL_M.png");
    const Bitmap right = LoadResource("TITLE_PNL_R.png");
    for (int y = 0; y < middle.height; ++y) {
        EXPECT_EQ(left.at(left.width - 1, y), middle.at(0, y)) << y;
        EXPECT_EQ(right.at(0, y), middle.at(0, y)) << y;
    }
}

}  // namespace
