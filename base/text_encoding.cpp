#include "base/text_encoding.h"

#include "base/utf8.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

std::wstring DecodeUtf16(std::string_view bytes, bool big_endian) {
    std::wstring out;
    out.reserve(bytes.size() / 2 + 1);
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(big_endian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendCodePoint(out, u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
    }
    if (i < bytes.size()) AppendCodePoint(out, kReplacement);
    return out;
}

void AppendUnit(std::string& out, char32_t u, bool big_endian) {
    const char hi = static_cast<char>((u >> 8) & 0xFF);
    const char lo = static_cast<char>(u & 0xFF);
    out += big_endian ? hi : lo;
    out += big_endian ? lo : hi;
}

std::string EncodeUtf16(std::wstring_view text, bool big_endian) {
    std::string out(big_endian ? kUtf16BeMark : kUtf16LeMark);
    out.reserve(out.size() + text.size() * 2);
    for (const wchar_t c : text) {
        const auto cp = static_cast<char32_t>(c);
        if (cp >= 0x10000) {  // only where wchar_t has 32 bits
            AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10), big_endian);
            AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), big_endian);
        } else {
            AppendUnit(out, cp, big_endian);
        }
    }
    return out;
}

}  // namespace

TextEncoding EncodingOfMark(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return TextEncoding::Utf8;
    if (bytes.starts_with(kUtf16LeMark)) return TextEncoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeMark)) return TextEncoding::Utf16Be;
    return TextEncoding::Ansi;
}

std::size_t MarkLength(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return kUtf8Mark.size();
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            return 2;
        case TextEncoding::Ansi:
            break;
    }
    return 0;
}

std::wstring DecodeUnicode(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return FromUtf8(bytes);
    return DecodeUtf16(bytes, encoding == TextEncoding::Utf16Be);
}

std::string EncodeUnicode(std::wstring_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return std::string(kUtf8Mark) + ToUtf8(text);
    return EncodeUtf16(text, encoding == TextEncoding::Utf16Be);
}
