// Reads a TrueType/OpenType font's own full name from its 'name' table, for
// systems whose font API cannot tell it. Windows-free; any byte sequence is
// safe input.
#pragma once

#include <cstddef>
#include <string>

// The font's full name (name ID 4) in the Windows platform's Unicode
// encodings (platform 3, encoding 1 or 10), preferring the US English
// record, else the first such record. For a collection ("ttcf") the first
// font is read. The text ends at an embedded NUL; unpaired surrogates
// become U+FFFD. Empty when the data is not a font, is truncated, or holds
// no such record. Never fails.
std::wstring FontFullName(const unsigned char* data, size_t size);
