// File helpers for tests: write and read whole files as bytes or UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

void WriteFileBytes(const std::wstring& path, std::string_view bytes);
std::string ReadFileBytes(const std::wstring& path);
bool PathExists(const std::wstring& path);

// Creates path (it must not exist yet) with size bytes of which none are
// written: a hole on Linux file systems, a sparse file on NTFS. Throws
// std::runtime_error when the file cannot be made.
void WriteSparseFile(const std::wstring& path, uint64_t size);
