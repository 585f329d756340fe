// Feeds arbitrary bytes to the font name-table reader: it must return a
// name or nothing, never crash, hang or read outside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/font_name_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A name is made of at most one record's string: 65535 bytes.
    if (FontFullName(data, size).size() > 0xFFFF / 2) std::abort();
    return 0;
}
