// The room the installation needs, volume by volume, measured on the real
// files before anything is written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/deployment_manifest.h"
#include "engine/space_rules.h"

// Reads the bytes the current user may still use on the volume that holds
// the existing folder (with its trailing "\"): true with available set, or
// false with the system's error code left for GetLastError.
using FreeSpaceQuery = bool (*)(const std::wstring& folder, uint64_t& available);

// GetDiskFreeSpaceExW for folder: the figure follows a volume mounted in a
// folder and the user's quota.
bool FreeBytesForUser(const std::wstring& folder, uint64_t& available);

// The volumes the installation from installerFolder into installFolder (both
// with their trailing "\"; the install folder need not exist yet) writes to,
// with the bytes it adds to each and the bytes this user may still use there:
//  - the install folder's volume: the package's database in full (an
//    existing database is kept beside it), the runtime list chosen
//    with its "intl" and "udf" files, the function libraries, the "backup"
//    and "Updater" trees and, when driverChosen, the driver folder; a file
//    that replaces one of the same name counts only what it adds;
//  - the volume of fontsFolder: the package fonts not yet in it.
// Each volume comes once, the install folder's first; a volume the
// installation adds nothing to besides the install folder's is left out.
// Sizes are in whole clusters. The free space comes from freeSpace (a test
// can put in its own figures); a volume whose free space cannot be read (a
// missing drive) is left out and the setup log says why. Never fails.
std::vector<VolumeSpace> MeasureInstallSpace(std::wstring_view installerFolder, std::wstring_view installFolder,
                                             RuntimeChoice runtime, bool driverChosen,
                                             std::wstring_view fontsFolder,
                                             FreeSpaceQuery freeSpace = FreeBytesForUser);
