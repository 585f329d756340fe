#include "shared/settings_values.h"

#include <charconv>

#include "base/integer_text.h"
#include "base/strings.h"

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
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
    return ParseInt32(text, {});
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
