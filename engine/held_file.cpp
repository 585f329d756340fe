#include "engine/held_file.h"

#include <windows.h>

#include <vector>

#include "engine/tree_walk.h"

namespace {

constexpr DWORD kBlock = 64 * 1024;

// Reads up to kBlock bytes from file at offset into block; false on a
// failed read.
bool ReadBlock(HANDLE file, uint64_t offset, std::vector<unsigned char>& block) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    block.resize(kBlock);
    DWORD got = 0;
    if (!ReadFile(file, block.data(), kBlock, &got, &at) && GetLastError() != ERROR_HANDLE_EOF) return false;
    block.resize(got);
    return true;
}

}  // namespace

HeldFile::HeldFile(std::wstring_view path) {
    const std::wstring name(path);
    if (IsLinkAt(name)) return;
    file_.reset(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool HeldFile::SameBytesAs(std::wstring_view other) const {
    if (!file_) return false;
    ScopedHandle theirs(CreateFileW(std::wstring(other).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!theirs) return false;
    std::vector<unsigned char> mine, their;
    for (uint64_t offset = 0;; offset += kBlock) {
        if (!ReadBlock(file_.get(), offset, mine) || !ReadBlock(theirs.get(), offset, their) || mine != their)
            return false;
        if (mine.size() < kBlock) return true;
    }
}
