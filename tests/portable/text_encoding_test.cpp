#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EncodingOfMark, NamesTheMarkAtTheStart) {
    EXPECT_EQ(EncodingOfMark("\xEF\xBB\xBFx"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOfMark("\xFF\xFEx\0"), TextEncoding::Utf16Le);
    EXPECT_EQ(EncodingOfMark("\xFE\xFF\0x"), TextEncoding::Utf16Be);
    EXPECT_EQ(EncodingOfMark(""), TextEncoding::Ansi);
    EXPECT_EQ(EncodingOfMark("\xEF\xBB"), TextEncoding::Ansi);
    EXPECT_EQ(EncodingOfMark("x\xFF\xFE"), TextEncoding::Ansi);
    EXPECT_EQ(EncodingOfMark("\xCF\xF0\xE8"), TextEncoding::Ansi);  // "При" in Windows-1251
}

TEST(EncodeUnicode, WritesTheMarkAndTheBytesOfEachEncoding) {
    const std::wstring text = L"Жa";
    EXPECT_EQ(EncodeUnicode(text, TextEncoding::Utf8),
              "\xEF\xBB\xBF\xD0\x96"
              "a");
    EXPECT_EQ(EncodeUnicode(text, TextEncoding::Utf16Le), std::string("\xFF\xFE\x16\x04"
                                                                      "a\0",
                                                                      6));
    EXPECT_EQ(EncodeUnicode(text, TextEncoding::Utf16Be), std::string("\xFE\xFF\x04\x16\0a", 6));
}

TEST(DecodeUnicode, ReadsBackWhatWasWritten) {
    const std::wstring text = L"05.03.2024 14:07:09: Холтер \U0001F600\r\n";
    for (const TextEncoding e : {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        const std::string bytes = EncodeUnicode(text, e);
        ASSERT_EQ(EncodingOfMark(bytes), e);
        EXPECT_EQ(DecodeUnicode(std::string_view(bytes).substr(MarkLength(e)), e), text);
    }
}

TEST(DecodeUnicode, ReplacesBrokenUtf16) {
    EXPECT_EQ(DecodeUnicode(std::string("a\0\x00\xD8"
                                        "b\0",
                                        6),
                            TextEncoding::Utf16Le),
              L"a\uFFFDb");
    EXPECT_EQ(DecodeUnicode(std::string("a\0b", 3), TextEncoding::Utf16Le), L"a\uFFFD");
    EXPECT_EQ(DecodeUnicode("", TextEncoding::Utf16Be), L"");
}

}  // namespace
