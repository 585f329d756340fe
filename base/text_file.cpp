#include "base/text_file.h"

#include <windows.h>

#include <vector>

#include "base/file_system.h"

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

std::wstring FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

TextFileContent ReadTextFile(std::wstring_view path) {
    const std::vector<unsigned char> data = ReadWholeFile(path);
    const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    const TextEncoding encoding = EncodingOfMark(bytes);
    if (encoding == TextEncoding::Ansi) return {FromAnsi(bytes), encoding};
    return {DecodeUnicode(bytes.substr(MarkLength(encoding)), encoding), encoding};
}

void WriteTextFileAtomically(std::wstring_view path, std::wstring_view text, TextEncoding encoding) {
    const std::string bytes = encoding == TextEncoding::Ansi ? ToAnsi(text) : EncodeUnicode(text, encoding);
    WriteWholeFileAtomically(path, bytes.data(), bytes.size());
}
