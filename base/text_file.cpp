#include "base/text_file.h"

#include <windows.h>

#include <climits>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"

namespace {

// The conversion functions take lengths as int.
int ConversionLength(size_t size) {
    if (size > static_cast<size_t>(INT_MAX)) throw Error(L"The text is too long to convert");
    return static_cast<int>(size);
}

std::wstring FromCodePage(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int length = ConversionLength(bytes.size());
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), size);
    return text;
}

}  // namespace

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = ConversionLength(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring FromAnsi(std::string_view bytes) {
    return FromCodePage(bytes, CP_ACP);
}

std::wstring FromOem(std::string_view bytes) {
    return FromCodePage(bytes, CP_OEMCP);
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
