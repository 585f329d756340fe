// The platform's own SHA-256 rate: one hash of a payload's bytes on one
// thread, the cost the installation record adds at least once.
#pragma once

#include <string>
#include <vector>

// Hashes every file below source + each of folders (source ends in "\")
// with CNG's SHA-256 in 128 KiB blocks, one file after another on this
// thread. Prints "hash_seconds <s>" and "hash_bytes <n>". Raises Error when
// a file cannot be read.
void TimeHash(const std::wstring& source, const std::vector<std::wstring>& folders);

// What opening the platform's SHA-256 costs in memory by itself: prints
// "cng_working_set_added <bytes>", the working set after bcrypt.dll is
// loaded and its SHA-256 provider opened, less the working set before.
void MeasureCngOpen();
