// Whatever bytes a settings, language or log file holds, the byte-order
// mark is recognised the same way every time, decoding never fails and gives
// only whole code points (an odd last byte and lone surrogates become
// U+FFFD), and text written back in the file's encoding reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/text_encoding.h"

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool WholeCodePoints(std::wstring_view text) {
    for (const wchar_t c : text) {
        const auto cp = static_cast<char32_t>(c);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    }
    return true;
}

void CheckEncoding(std::string_view bytes, TextEncoding encoding) {
    const std::wstring text = DecodeUnicode(bytes, encoding);
    if (!WholeCodePoints(text)) std::abort();
    // UTF-16 gives at most one character per two bytes, plus one for an odd
    // last byte; UTF-8 at most one per byte.
    const std::size_t most = encoding == TextEncoding::Utf8 ? bytes.size() : bytes.size() / 2 + bytes.size() % 2;
    if (text.size() > most) std::abort();
    if (encoding != TextEncoding::Utf8 && bytes.size() % 2 == 1 && (text.empty() || text.back() != kReplacement))
        std::abort();

    // Written back with its mark, the text is recognised and read the same.
    const std::string written = EncodeUnicode(text, encoding);
    if (EncodingOfMark(written) != encoding) std::abort();
    if (DecodeUnicode(std::string_view(written).substr(MarkLength(encoding)), encoding) != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TextEncoding marked = EncodingOfMark(bytes);
    const std::size_t mark = MarkLength(marked);
    if (mark > bytes.size()) std::abort();
    if (marked == TextEncoding::Ansi) {
        // The ANSI code page is the platform's: here only that no mark starts
        // the bytes.
        if (mark != 0 || bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
            bytes.starts_with("\xFE\xFF"))
            std::abort();
    } else {
        CheckEncoding(bytes.substr(mark), marked);
    }
    // The same bytes taken as each Unicode encoding, marked or not.
    for (TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be})
        CheckEncoding(bytes, encoding);
    return 0;
}
