// Whole numbers written as text: the one parser behind the package's integer
// readers, which differ only in how far a text may stray from plain digits.
// Windows-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// What a reader accepts beyond an optional sign and decimal digits, or "$",
// "0x" or "0X" followed by hexadecimal digits.
struct IntegerSyntax {
    bool leadingBlanks = false;  // blanks before the number
    bool signedHex = false;      // a sign before the hexadecimal prefix
    bool bareX = false;          // "x" or "X" alone as hexadecimal prefix
};

// The value of text under syntax; nothing may follow the digits. Decimal
// values must lie within the 32-bit signed range; hexadecimal values may use
// all 32 bits and are taken as two's complement ("$FFFFFFFF" is -1).
// nullopt for anything else, an empty text included.
std::optional<int32_t> ParseInt32(std::wstring_view text, const IntegerSyntax& syntax);

// The value of text the way the package's other programs read their numbers:
// ParseInt32 with blanks before it, a sign before a hexadecimal prefix and
// "x"/"X" as prefix allowed. Anything else raises Error
// "'<text>' is not a valid integer value".
int32_t ParseInteger(std::wstring_view text);
