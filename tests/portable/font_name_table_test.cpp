#include "engine/font_name_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/utf8.h"

namespace {

using Bytes = std::vector<unsigned char>;

#ifdef _WIN32
#define HOST_ROOT "Z:"
#else
#define HOST_ROOT ""
#endif

void Put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<unsigned char>(v >> 8));
    b.push_back(static_cast<unsigned char>(v));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v >> 16);
    Put16(b, v & 0xFFFF);
}
void Set32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

struct NameRecord {
    uint16_t platform, encoding, language, nameId;
    std::u16string text;
};

// A minimal font: offset table, a 'head' stand-in, then the 'name' table
// holding records in the given order. Offsets of the table directory:
// 12 ('head' record), 28 ('name' record).
Bytes MakeFont(const std::vector<NameRecord>& records) {
    Bytes strings;
    Bytes name;
    Put16(name, 0);
    Put16(name, static_cast<uint32_t>(records.size()));
    Put16(name, static_cast<uint32_t>(6 + 12 * records.size()));
    for (const NameRecord& r : records) {
        Put16(name, r.platform);
        Put16(name, r.encoding);
        Put16(name, r.language);
        Put16(name, r.nameId);
        Put16(name, static_cast<uint32_t>(2 * r.text.size()));
        Put16(name, static_cast<uint32_t>(strings.size()));
        for (char16_t c : r.text) Put16(strings, c);
    }
    name.insert(name.end(), strings.begin(), strings.end());

    Bytes font;
    Put32(font, 0x00010000);
    Put16(font, 2);
    Put16(font, 32);
    Put16(font, 1);
    Put16(font, 0);
    const uint32_t headAt = 12 + 2 * 16;
    const uint32_t nameAt = headAt + 8;
    Put32(font, 0x68656164);  // 'head'
    Put32(font, 0);
    Put32(font, headAt);
    Put32(font, 8);
    Put32(font, 0x6E616D65);  // 'name'
    Put32(font, 0);
    Put32(font, nameAt);
    Put32(font, static_cast<uint32_t>(name.size()));
    font.resize(nameAt);
    font.insert(font.end(), name.begin(), name.end());
    return font;
}

std::wstring FullName(const Bytes& font) {
    return FontFullName(font.data(), font.size());
}

std::string Utf8Name(const Bytes& font) {
    return ToUtf8(FullName(font));
}

TEST(FontFullName, ReadsTheFullNameOfRealFonts) {
    const struct {
        const char* path;
        const char* fullName;
    } cases[] = {
        {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "Liberation Sans"},
        {"/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf", "Liberation Sans Narrow Bold"},
        {"/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf", "Liberation Mono"},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf", "DejaVu Serif Bold Italic"},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", "DejaVu Sans Mono"},
    };
    for (const auto& c : cases) {
        std::ifstream in(std::string(HOST_ROOT) + c.path, std::ios::binary);
        ASSERT_TRUE(in) << c.path << " (package fonts-liberation / fonts-dejavu-core)";
        const Bytes font((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(Utf8Name(font), c.fullName) << c.path;
    }
}

TEST(FontFullName, ChoosesTheWindowsUnicodeFullNamePreferringUsEnglish) {
    const struct {
        std::vector<NameRecord> records;
        const char* fullName;
    } cases[] = {
        {{{3, 1, 0x0409, 4, u"Arial"}}, "Arial"},
        {{{3, 10, 0x0409, 4, u"Arial"}}, "Arial"},
        {{{3, 1, 0x0409, 1, u"Family"}, {3, 1, 0x0409, 4, u"Full"}}, "Full"},
        {{{1, 0, 0, 4, u"Mac"}, {3, 1, 0x0419, 4, u"Тахома"}, {3, 1, 0x0409, 4, u"Tahoma"}}, "Tahoma"},
        {{{3, 1, 0x0419, 4, u"Тахома"}, {3, 1, 0x0407, 4, u"Other"}}, "Тахома"},
        {{{3, 0, 0x0409, 4, u"Symbol"}, {0, 3, 0, 4, u"Unicode platform"}, {1, 0, 0, 4, u"Mac"}}, ""},
        {{{3, 1, 0x0409, 4, u""}}, ""},
        {{{3, 1, 0x0409, 4, std::u16string(u"Cut\0here", 8)}}, "Cut"},
        {{{3, 10, 0x0409, 4, u"A\U0001D400B"}}, "A\U0001D400B"},
        {{{3, 1, 0x0409, 4,
           u"A\xD800"
           u"B\xDC00"}},
         "A\uFFFDB\uFFFD"},
        {{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8Name(MakeFont(c.records)), c.fullName) << c.fullName;
}

TEST(FontFullName, ReadsTheFirstFontOfACollection) {
    const Bytes single = MakeFont({{3, 1, 0x0409, 4, u"First"}});
    Bytes collection;
    Put32(collection, 0x74746366);  // 'ttcf'
    Put32(collection, 0x00010000);
    Put32(collection, 1);
    Put32(collection, 16);
    const size_t base = collection.size();
    collection.insert(collection.end(), single.begin(), single.end());
    // Table offsets in a collection count from the start of the file.
    Set32(collection, base + 12 + 8, 12 + 2 * 16 + 16);
    Set32(collection, base + 28 + 8, 12 + 2 * 16 + 8 + 16);
    EXPECT_EQ(Utf8Name(collection), "First");

    Set32(collection, 8, 0);  // no fonts at all
    EXPECT_EQ(Utf8Name(collection), "");
    Set32(collection, 8, 1);
    Set32(collection, 12, 0xFFFFFFF0);  // first font far beyond the end
    EXPECT_EQ(Utf8Name(collection), "");
}

TEST(FontFullName, GivesNothingForEveryTruncation) {
    const Bytes font = MakeFont({{3, 1, 0x0409, 1, u"Family"}, {3, 1, 0x0409, 4, u"Full name"}});
    ASSERT_EQ(Utf8Name(font), "Full name");
    for (size_t size = 0; size < font.size(); ++size) {
        // A copy of exactly size bytes, so the sanitizer sees every overread.
        const Bytes cut(font.begin(), font.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(Utf8Name(cut), "") << size;
    }
}

TEST(FontFullName, SurvivesHostileTables) {
    const Bytes good = MakeFont({{3, 1, 0x0409, 4, u"Good"}});
    const size_t nameRecord = 28;
    const size_t nameAt = 12 + 2 * 16 + 8;
    const struct {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
        const char* fullName;
    } cases[] = {
        {"name table offset beyond the end", nameRecord + 8, 0xFFFFFFF0, true, ""},
        {"name table length wraps around", nameRecord + 12, 0xFFFFFFFF, true, ""},
        {"table count larger than the directory", 4, 0xFFFF, false, "Good"},
        {"record count larger than the table", nameAt + 2, 0xFFFF, false, "Good"},
        {"string storage beyond the table", nameAt + 4, 0xFFFF, false, ""},
        {"string offset beyond the table", nameAt + 6 + 10, 0xFFFF, false, ""},
        {"string length beyond the table", nameAt + 6 + 8, 0xFFFF, false, ""},
        {"odd string length", nameAt + 6 + 8, 7, false, "Goo"},
    };
    for (const auto& c : cases) {
        Bytes font = good;
        if (c.wide) {
            Set32(font, c.at, c.value);
        } else {
            font[c.at] = static_cast<unsigned char>(c.value >> 8);
            font[c.at + 1] = static_cast<unsigned char>(c.value);
        }
        EXPECT_EQ(Utf8Name(font), c.fullName) << c.what;
    }
    EXPECT_EQ(FontFullName(nullptr, 0), L"");
}

}  // namespace
