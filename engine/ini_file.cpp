#include "engine/ini_file.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/utf8.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string_view MarkOf(IniEncoding encoding) {
    switch (encoding) {
        case IniEncoding::Utf8:
            return kUtf8Mark;
        case IniEncoding::Utf16Le:
            return kUtf16LeMark;
        case IniEncoding::Utf16Be:
            return kUtf16BeMark;
        case IniEncoding::Ansi:
            break;
    }
    return {};
}

IniEncoding DetectEncoding(std::string_view bytes) {
    for (IniEncoding e : {IniEncoding::Utf8, IniEncoding::Utf16Le, IniEncoding::Utf16Be})
        if (bytes.starts_with(MarkOf(e))) return e;
    return IniEncoding::Ansi;
}

std::wstring FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::string bytes(
        static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                        nullptr);
    return bytes;
}

// UTF-16 code units in the given byte order; an odd last byte is dropped.
std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    return text;
}

std::string ToUtf16(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (wchar_t c : text) {
        const auto high = static_cast<char>((c >> 8) & 0xFF);
        const auto low = static_cast<char>(c & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

std::wstring Decode(std::string_view bytes, IniEncoding encoding) {
    bytes.remove_prefix(MarkOf(encoding).size());
    switch (encoding) {
        case IniEncoding::Utf8:
            return FromUtf8(bytes);
        case IniEncoding::Utf16Le:
        case IniEncoding::Utf16Be:
            return FromUtf16(bytes, encoding == IniEncoding::Utf16Be);
        case IniEncoding::Ansi:
            break;
    }
    return FromAnsi(bytes);
}

std::string Encode(std::wstring_view text, IniEncoding encoding) {
    std::string bytes(MarkOf(encoding));
    switch (encoding) {
        case IniEncoding::Utf8:
            return bytes + ToUtf8(text);
        case IniEncoding::Utf16Le:
        case IniEncoding::Utf16Be:
            return bytes + ToUtf16(text, encoding == IniEncoding::Utf16Be);
        case IniEncoding::Ansi:
            break;
    }
    return ToAnsi(text);
}

}  // namespace

IniFile::IniFile(std::wstring path) : path_(std::move(path)) {
    if (!FileExists(path_)) return;
    const Bytes data = ReadWholeFile(path_);
    const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    encoding_ = DetectEncoding(bytes);
    document_ = IniDocument::Parse(Decode(bytes, encoding_));
}

void IniFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    document_.SetValue(section, key, value);
}

void IniFile::WriteInteger(std::wstring_view section, std::wstring_view key, long long value) {
    document_.SetInteger(section, key, value);
}

void IniFile::UpdateFile() const {
    const std::string bytes = Encode(document_.Serialize(), encoding_);
    WriteWholeFileAtomically(path_, bytes.data(), bytes.size());
}
