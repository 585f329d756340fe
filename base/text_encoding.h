// Byte-order marks and the Unicode encodings of the package's text files.
// The ANSI code page belongs to the platform and is handled beside the
// file access. Windows-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The encoding whose byte-order mark starts bytes; Ansi when there is none.
TextEncoding EncodingOfMark(std::string_view bytes);

// Length of the encoding's byte-order mark (0 for Ansi).
std::size_t MarkLength(TextEncoding encoding);

// Decodes bytes (without their mark) in a Unicode encoding. Broken
// sequences, unpaired surrogates and an odd last byte become U+FFFD. Never
// fails. encoding must not be Ansi.
std::wstring DecodeUnicode(std::string_view bytes, TextEncoding encoding);

// The byte-order mark followed by text in a Unicode encoding. Never fails.
// encoding must not be Ansi.
std::string EncodeUnicode(std::wstring_view text, TextEncoding encoding);
