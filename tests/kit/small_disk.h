// The small file system that the test run mounts for the full-disk cases
// (tests/faults/small_disk.sh, named by VH_SMALL_DISK).
#pragma once

#include <string>

// The small disk's folder with its trailing "\", or "" when none is
// mounted (mounting needs root; the cases that need it then skip).
std::wstring SmallDisk();
