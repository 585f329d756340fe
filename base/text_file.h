// Whole text files in the encodings of the package's files: the system's
// ANSI code page, or the Unicode encoding named by a byte-order mark.
#pragma once

#include <string>
#include <string_view>

#include "base/text_encoding.h"

// Text in the system's ANSI code page and back; characters the code page
// lacks become its default character. Raise Error only for a text of more
// than 2^31 - 1 units, far beyond any file within the read limit.
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);
// Text in the system's OEM code page, which console programs write.
std::wstring FromOem(std::string_view bytes);

struct TextFileContent {
    std::wstring text;
    TextEncoding encoding;
};

// Reads the file at path: UTF-8, UTF-16 LE or UTF-16 BE when it starts with
// that byte-order mark (the mark is not part of the text), the ANSI code
// page otherwise. Raises Error "Cannot open file ..." or "Cannot read file
// ..." when it cannot be read or is larger than the whole-file read limit.
TextFileContent ReadTextFile(std::wstring_view path);

// Replaces the file at path with text in encoding (Unicode encodings with
// their mark) through a temporary file moved over it, so a failure leaves
// the old file whole. Raises Error "Cannot create file "<path>". <system
// text>" on failure.
void WriteTextFileAtomically(std::wstring_view path, std::wstring_view text, TextEncoding encoding);
