#include "engine/integer_text.h"

#include <string>

#include "base/error.h"

namespace {

int DigitValue(wchar_t c, unsigned base) {
    int value = -1;
    if (c >= L'0' && c <= L'9') value = c - L'0';
    if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
    if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

}  // namespace

int32_t ParseInteger(std::wstring_view text) {
    const auto invalid = [text] { return Error(L"'" + std::wstring(text) + L"' is not a valid integer value"); };
    size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    unsigned base = 10;
    if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        base = 16;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) throw invalid();

    // Decimal texts may reach 2^31 only as "-2147483648"; hexadecimal ones
    // use the full 32 bits.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) throw invalid();
        value = value * base + static_cast<unsigned>(digit);
        if (value > limit) throw invalid();
    }
    const uint32_t bits = static_cast<uint32_t>(negative ? 0 - value : value);
    return static_cast<int32_t>(bits);
}
