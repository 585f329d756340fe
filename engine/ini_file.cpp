#include "engine/ini_file.h"

#include "base/file_system.h"
#include "base/text_file.h"

IniFile::IniFile(std::wstring path) : path_(std::move(path)) {
    if (!FileExists(path_)) return;
    TextFileContent content = ReadTextFile(path_);
    encoding_ = content.encoding;
    document_ = IniDocument::Parse(content.text);
}

void IniFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    document_.SetValue(section, key, value);
}

void IniFile::WriteInteger(std::wstring_view section, std::wstring_view key, long long value) {
    document_.SetInteger(section, key, value);
}

void IniFile::UpdateFile() const {
    WriteTextFileAtomically(path_, document_.Serialize(), encoding_);
}
