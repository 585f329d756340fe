// The installation record is read back from a folder users may write: the
// reader either refuses the text with a reason or gives a record whose
// every file has a path that is full or stays below the install folder,
// and either no digest or 64 lower-case hexadecimal
// digits, and an install folder.
// Input: the record's text as UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/utf8.h"
#include "engine/record_reader.h"

namespace {

// No stream, no root and no ".." among its parts.
bool BelowTheFolder(const std::wstring& path) {
    if (path.find(L':') != std::wstring::npos || path[0] == L'\\' || path[0] == L'/') return false;
    std::wstring part;
    for (const wchar_t c : path + L"\\") {
        if (c != L'\\' && c != L'/') {
            part += c;
            continue;
        }
        if (part == L"..") return false;
        part.clear();
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const RecordReading reading =
        ReadInstallationRecord(FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size)));
    if (reading.content.has_value() == !reading.error.empty()) std::abort();
    if (!reading.content) return 0;
    if (reading.content->installFolder.empty()) std::abort();
    for (const RecordedFile& file : reading.content->files) {
        if (file.path.empty()) std::abort();
        if (!IsFullRecordPath(file.path) && !BelowTheFolder(file.path)) std::abort();
        if (!file.installedHash.empty() && file.installedHash.size() != 64) std::abort();
        for (const wchar_t c : file.installedHash)
            if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) std::abort();
    }
    return 0;
}
