#include "engine/font_name_table.h"

#include <cstdint>

namespace {

constexpr uint32_t Tag(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8 | static_cast<unsigned char>(d);
}

constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kEncodingUnicodeBmp = 1;
constexpr uint16_t kEncodingUnicodeFull = 10;
constexpr uint16_t kNameFullName = 4;
constexpr uint16_t kLanguageEnglishUs = 0x0409;

// Bounds-checked big-endian reads over one byte range. Offsets are checked
// by subtraction so that no sum can wrap around.
class Bytes {
public:
    Bytes(const unsigned char* data, size_t size) : data_(data), size_(size) {}

    bool Holds(size_t offset, size_t length) const { return offset <= size_ && length <= size_ - offset; }
    Bytes Sub(size_t offset, size_t length) const { return Bytes(data_ + offset, length); }
    uint16_t U16(size_t offset) const { return static_cast<uint16_t>(data_[offset] << 8 | data_[offset + 1]); }
    uint32_t U32(size_t offset) const { return static_cast<uint32_t>(U16(offset)) << 16 | U16(offset + 2); }
    size_t size() const { return size_; }

private:
    const unsigned char* data_;
    size_t size_;
};

// The 'name' table of the font whose offset table starts at font, or an
// empty range.
Bytes FindNameTable(const Bytes& file, size_t font) {
    const Bytes none(nullptr, 0);
    if (!file.Holds(font, 12)) return none;
    const uint16_t tables = file.U16(font + 4);
    for (size_t i = 0; i < tables; ++i) {
        const size_t record = 12 + 16 * i;
        if (!file.Holds(font, record + 16)) return none;
        if (file.U32(font + record) != Tag('n', 'a', 'm', 'e')) continue;
        const uint32_t offset = file.U32(font + record + 8);
        const uint32_t length = file.U32(font + record + 12);
        return file.Holds(offset, length) ? file.Sub(offset, length) : none;
    }
    return none;
}

bool IsHighSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16BE text up to its first NUL, as wide text of this platform (UTF-16
// or UTF-32 units).
std::wstring DecodeUtf16Be(const Bytes& text) {
    std::wstring result;
    const size_t units = text.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        const uint32_t unit = text.U16(2 * i);
        if (unit == 0) break;
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(text.U16(2 * i + 2))) {
            const uint32_t low = text.U16(2 * ++i);
            if constexpr (sizeof(wchar_t) == 2) {
                result += static_cast<wchar_t>(unit);
                result += static_cast<wchar_t>(low);
            } else {
                result += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            }
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            result += static_cast<wchar_t>(0xFFFD);
        } else {
            result += static_cast<wchar_t>(unit);
        }
    }
    return result;
}

}  // namespace

std::wstring FontFullName(const unsigned char* data, size_t size) {
    const Bytes file(data, size);
    size_t font = 0;
    if (file.Holds(0, 16) && file.U32(0) == Tag('t', 't', 'c', 'f')) {
        if (file.U32(8) == 0) return {};
        font = file.U32(12);
    }
    const Bytes table = FindNameTable(file, font);
    if (!table.Holds(0, 6)) return {};
    const uint16_t count = table.U16(2);
    const size_t storage = table.U16(4);

    bool found = false;
    Bytes best(nullptr, 0);
    for (size_t i = 0; i < count; ++i) {
        const size_t record = 6 + 12 * i;
        if (!table.Holds(record, 12)) break;
        const uint16_t platform = table.U16(record);
        const uint16_t encoding = table.U16(record + 2);
        const uint16_t language = table.U16(record + 4);
        const uint16_t nameId = table.U16(record + 6);
        const size_t length = table.U16(record + 8);
        const size_t offset = storage + table.U16(record + 10);
        if (platform != kPlatformWindows || nameId != kNameFullName) continue;
        if (encoding != kEncodingUnicodeBmp && encoding != kEncodingUnicodeFull) continue;
        if (!table.Holds(offset, length)) continue;
        if (language == kLanguageEnglishUs) return DecodeUtf16Be(table.Sub(offset, length));
        if (!found) best = table.Sub(offset, length);
        found = true;
    }
    return found ? DecodeUtf16Be(best) : std::wstring();
}
