#include "base/error.h"
#include "base/file_system.h"
#include "engine/counter_file.h"

void WriteCounterFile(std::wstring_view path, const LocalDateTime& moment) {
    const auto record = NewCounterRecord(moment);
    try {
        WriteWholeFileAtomically(path, record.data(), record.size());
    } catch (const Error&) {
        // Best effort: the installation goes on without the file.
    }
}
