// Whole numbers written as text, read the way the package's other programs
// read them, so the installer accepts and refuses exactly the same texts.
// Windows-free.
#pragma once

#include <cstdint>
#include <string_view>

// The value of text: optional leading blanks, an optional "+" or "-", then
// either decimal digits or hexadecimal digits after "$", "x", "X", "0x" or
// "0X"; nothing may follow the digits. Decimal values must lie within the
// 32-bit signed range; hexadecimal values may use all 32 bits and are taken
// as two's complement ("$FFFFFFFF" is -1). Anything else raises Error
// "'<text>' is not a valid integer value".
int32_t ParseInteger(std::wstring_view text);
