#include "shared/settings_values.h"

#include <charconv>
#include <limits>

#include "base/strings.h"

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

std::optional<std::int32_t> ParseHex(std::wstring_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const wchar_t c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(d);
        if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::wstring_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == L'+' || text[0] == L'-')) {
        negative = text[0] == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t value = 0;
    for (const wchar_t c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

// Length of a run of decimal digits at the start of text.
std::size_t DigitRun(std::wstring_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) ++n;
    return n;
}

// True when text is [sign] (digits [. digits] | . digits) [e [sign] digits].
bool IsDecimalNumber(std::wstring_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    const std::size_t whole = DigitRun(text.substr(i));
    i += whole;
    std::size_t fraction = 0;
    if (i < text.size() && text[i] == L'.') {
        ++i;
        fraction = DigitRun(text.substr(i));
        i += fraction;
    }
    if (whole + fraction == 0) return false;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
        const std::size_t exponent = DigitRun(text.substr(i));
        if (exponent == 0) return false;
        i += exponent;
    }
    return i == text.size();
}

}  // namespace

std::wstring ProfileString(std::wstring_view raw) {
    std::wstring value = TrimControl(raw);
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
    return value;
}

std::optional<std::int32_t> ParseIniInteger(std::wstring_view text) {
    if (text.starts_with(L'$')) return ParseHex(text.substr(1));
    if (text.starts_with(L"0x") || text.starts_with(L"0X")) return ParseHex(text.substr(2));
    return ParseDecimal(text);
}

std::optional<double> ParseIniDouble(std::wstring_view text) {
    if (!IsDecimalNumber(text)) return std::nullopt;
    // from_chars knows no leading "+" and ignores the locale, which is what
    // a file format needs.
    if (text.starts_with(L'+')) text.remove_prefix(1);
    const std::string narrow(text.begin(), text.end());  // ASCII, checked above
    double value = 0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error != std::errc() || end != narrow.data() + narrow.size()) return std::nullopt;
    return value;
}

std::optional<std::uint8_t> ByteInRange(std::int32_t value) {
    if (value < 0 || value > 255) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}
