// Package folder names come from whatever a "backup" tree holds: the date
// key and the integer reading never fail other than with Error, accept
// exactly the integer texts the package's other programs accept, and the
// newest package is the first of those with the greatest key.
// Input: package folder paths, one a line, as UTF-8.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/integer_text.h"
#include "base/utf8.h"
#include "engine/package_choice.h"

namespace {

std::optional<int32_t> Parsed(std::wstring_view text) {
    try {
        return ParseInteger(text);
    } catch (const Error&) {
        return std::nullopt;
    }
}

// The same grammar read another way: blanks, a sign, a base prefix, then
// digits that std::from_chars must take whole.
std::optional<int32_t> Expected(std::wstring_view text) {
    std::size_t i = text.find_first_not_of(L' ');
    if (i == std::wstring_view::npos) return std::nullopt;
    const bool negative = text[i] == L'-';
    if (text[i] == L'-' || text[i] == L'+') ++i;
    int base = 10;
    if (text.substr(i, 2) == L"0x" || text.substr(i, 2) == L"0X") {
        base = 16;
        i += 2;
    } else if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        base = 16;
        ++i;
    }
    std::string digits;
    for (const wchar_t c : text.substr(i)) {
        if (c > 0x7F) return std::nullopt;
        digits += static_cast<char>(c);
    }
    if (digits.empty() || digits.find_first_of("+- ") != std::string::npos) return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (base == 16) {
        if (value > 0xFFFFFFFFull) return std::nullopt;
        return static_cast<int32_t>(static_cast<uint32_t>(negative ? 0 - value : value));
    }
    if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::wstring> paths;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        paths.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    std::vector<std::optional<int32_t>> keys;
    for (const std::wstring& path : paths) {
        if (Parsed(path) != Expected(path)) std::abort();
        const std::wstring key = PackageDateKey(path);
        // The key swaps day and year: taken twice it gives the date back.
        if (key.size() != std::min<std::size_t>(path.size(), 6)) std::abort();
        if (PackageDateKey(key) != std::wstring_view(path).substr(path.size() - key.size())) std::abort();
        keys.push_back(Parsed(key));
    }

    std::size_t chosen = 0;
    try {
        chosen = ChooseNewestPackage(paths);
    } catch (const Error&) {
        // Refused only for a key that is not a whole number.
        for (const auto& key : keys)
            if (!key) return 0;
        std::abort();
    }
    if (chosen >= paths.size()) std::abort();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (!keys[i]) std::abort();  // accepted only when every key is a number
        if (*keys[i] > *keys[chosen] || (i < chosen && *keys[i] == *keys[chosen])) std::abort();
    }
    return 0;
}
