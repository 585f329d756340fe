// Value rules of the package's INI files (holter.ini, the language file):
// how a value's text becomes a string, an integer or a number. Windows-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Longest value text a reader keeps, as the profile functions do with their
// 2048-character buffer.
inline constexpr std::size_t kMaxValueLength = 2047;

// The value as the profile functions return it: characters up to U+0020
// removed around it, then one pair of matching enclosing quotes (' or ")
// removed, then cut to kMaxValueLength characters. Never fails.
std::wstring ProfileString(std::wstring_view raw);

// An integer: an optional sign and decimal digits within the 32-bit range,
// or "$", "0x" or "0X" followed by hexadecimal digits of at most 32 bits
// (taken as the 32-bit pattern, so "$FFFFFFFF" is -1). nullopt for anything
// else, an empty text included.
std::optional<std::int32_t> ParseIniInteger(std::wstring_view text);

// A finite number: optional sign, digits with "." as the only decimal
// separator, optional exponent ("1.5", "-.5", "2e3"). nullopt for anything
// else ("1,5", "inf", blanks, an empty text). Does not depend on the
// process's locale.
std::optional<double> ParseIniDouble(std::wstring_view text);

// The value of a one-byte field that accepts only 0 to 255: nullopt outside.
std::optional<std::uint8_t> ByteInRange(std::int32_t value);
