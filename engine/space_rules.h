// How much room an installation needs on a volume, and how a volume without
// that room is told to the user. Windows-free.
#pragma once

#include <cstdint>
#include <string>

// Room kept beyond the counted bytes: the settings files, the folder entries
// and the file system's own records of the new files.
inline constexpr uint64_t kSpaceMargin = 1024 * 1024;

// The bytes a file of size takes on a volume that allocates whole clusters
// of clusterSize bytes (a cluster size of 0 counts as 1).
uint64_t AllocatedSize(uint64_t size, uint64_t clusterSize);

// How much a volume grows when a copy of newSize bytes replaces a file of
// oldSize bytes in place (0 when there is none): the difference in whole
// clusters, never below zero. Summed over a run of copies it is never less
// than what the run needs at any moment.
uint64_t CopyGrowth(uint64_t newSize, uint64_t oldSize, uint64_t clusterSize);

// One volume the installation writes to.
struct VolumeSpace {
    std::wstring volume;     // as the user knows it, e.g. "C:\"
    uint64_t needed = 0;     // bytes the installation adds there, without the margin
    uint64_t available = 0;  // bytes the current user may still use there
};

// Whether needed plus kSpaceMargin fits into available.
bool HasRoom(const VolumeSpace& space);

// The error box's text for a volume without room, in MB (2^20 bytes; digits
// grouped by blanks): the space needed with the margin rounded up, the space
// available rounded down, so a shortage never reads as enough.
std::wstring NoRoomText(const VolumeSpace& space);

// The setup log's line for a volume: its figures in bytes and the verdict.
std::wstring SpaceLogText(const VolumeSpace& space);
