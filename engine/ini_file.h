// The file edge of IniDocument: an INI file read whole, changed and written
// back whole in the encoding it came in.
#pragma once

#include <string>
#include <string_view>

#include "base/text_encoding.h"
#include "engine/ini_document.h"

class IniFile {
public:
    // Loads path when it exists (its byte-order mark decides the encoding;
    // without one the text is in the ANSI code page). A missing file gives an
    // empty document to be written in the ANSI code page. Raises Error
    // "Cannot open file "<path>". <system text>" when an existing file cannot
    // be read.
    explicit IniFile(std::wstring path);

    IniDocument& Document() { return document_; }
    TextEncoding Encoding() const { return encoding_; }

    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void WriteInteger(std::wstring_view section, std::wstring_view key, long long value);

    // Writes the whole document back, in the file's encoding with its mark,
    // replacing the file only once the new content is complete on disk.
    // Raises Error "Cannot create file "<path>". <system text>" when it
    // cannot be written; the old file is then untouched.
    void UpdateFile() const;

private:
    std::wstring path_;
    TextEncoding encoding_ = TextEncoding::Ansi;
    IniDocument document_;
};
