// The platform's own SHA-256 rate: one hash of a payload's bytes on one
// thread, the cost the installation record adds at least once.
#pragma once

#include <string>
#include <vector>

// Hashes every file below source + each of folders (source ends in "\")
// with CNG's SHA-256 in 1 MiB blocks, one file after another on this
// thread. Prints "hash_seconds <s>" and "hash_bytes <n>". Raises Error when
// a file cannot be read.
void TimeHash(const std::wstring& source, const std::vector<std::wstring>& folders);
