#include "base/integer_text.h"

#include <algorithm>
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

// The length of a hexadecimal prefix at the start of text, 0 when none.
size_t HexPrefix(std::wstring_view text, bool bareX) {
    if (text.starts_with(L'$')) return 1;
    if (text.starts_with(L"0x") || text.starts_with(L"0X")) return 2;
    if (bareX && (text.starts_with(L'x') || text.starts_with(L'X'))) return 1;
    return 0;
}

}  // namespace

std::optional<int32_t> ParseInt32(std::wstring_view text, const IntegerSyntax& syntax) {
    if (syntax.leadingBlanks) text.remove_prefix(std::min(text.find_first_not_of(L' '), text.size()));
    bool negative = false;
    bool signed_ = false;
    if (text.starts_with(L'+') || text.starts_with(L'-')) {
        negative = text.front() == L'-';
        signed_ = true;
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (!signed_ || syntax.signedHex) {
        if (const size_t prefix = HexPrefix(text, syntax.bareX)) {
            base = 16;
            text.remove_prefix(prefix);
        }
    }
    if (text.empty()) return std::nullopt;

    // Decimal texts may reach 2^31 only as "-2147483648"; hexadecimal ones
    // use the full 32 bits.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t value = 0;
    for (const wchar_t c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) return std::nullopt;
        value = value * base + static_cast<unsigned>(digit);
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(negative ? 0 - value : value));
}

int32_t ParseInteger(std::wstring_view text) {
    const std::optional<int32_t> value =
        ParseInt32(text, {.leadingBlanks = true, .signedHex = true, .bareX = true});
    if (!value) throw Error(L"'" + std::wstring(text) + L"' is not a valid integer value");
    return *value;
}
