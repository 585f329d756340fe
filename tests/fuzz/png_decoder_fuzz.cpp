// Feeds arbitrary bytes to the PNG decoder: it must either decode them or
// throw Error, never crash, hang or touch memory it does not own.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/error.h"
#include "base/png_decoder.h"

namespace {

// Rewrites the CRC of every complete chunk. Random mutations almost never
// keep a CRC valid, so without this nearly every input would stop at the
// first CRC check and the code behind it would go untested.
void FixCrcs(std::vector<uint8_t>& file) {
    for (size_t pos = 8; file.size() >= pos + 12;) {
        const uint32_t length = uint32_t{file[pos]} << 24 | uint32_t{file[pos + 1]} << 16 |
                                uint32_t{file[pos + 2]} << 8 | uint32_t{file[pos + 3]};
        if (length > file.size() - pos - 12) return;
        const uint32_t crc = static_cast<uint32_t>(crc32(0, &file[pos + 4], 4 + length));
        for (int i = 0; i < 4; ++i) file[pos + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        pos += size_t{12} + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    FixCrcs(file);
    try {
        const Bitmap bitmap = DecodePngOpaque(file.data(), file.size());
        if (bitmap.pixels.size() != static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height)) {
            std::abort();
        }
    } catch (const Error&) {
    }
    return 0;
}
