// File helpers for tests: write and read whole files as bytes or UTF-8,
// and the system's answer to a start that is meant to fail.
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
// The code CreateProcessW itself gives when asked to start commandLine in
// folder, to compare with what the program logged for the same start. A
// start that succeeds is ended at once and gives ERROR_SUCCESS.
unsigned long StartFailureCode(std::wstring commandLine, const std::wstring& folder);
