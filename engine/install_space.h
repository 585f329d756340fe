// The room the installation needs, volume by volume, measured on the real
// files before anything is written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "engine/install_plan.h"
#include "engine/space_rules.h"

// Reads the bytes the current user may still use on the volume that holds the
// existing folder, or the failing call's code.
using FreeSpaceQuery = Result<uint64_t> (*)(const std::wstring& folder);

// GetDiskFreeSpaceExW for folder: the figure follows a volume mounted in a
// folder and the user's quota.
Result<uint64_t> FreeBytesForUser(const std::wstring& folder);

// The volumes the installation plan writes to, with the bytes it adds to each
// and the bytes this user may still use there. installFolder (it need not
// exist yet) names the install folder's volume, which gets what every copy of
// the plan adds: the package's database in full (an existing database is kept
// beside it), each file of the file groups and each file of the tree and
// shell copies, where a file that replaces one of the same name counts only
// what it adds. The volume of fontsFolder gets the plan's fonts not yet in
// it. Each volume comes once, the install folder's first; a volume the
// installation adds nothing to besides the install folder's is left out.
// Sizes are in whole clusters. The free space comes from freeSpace (a test
// can put in its own figures); a volume whose free space cannot be read (a
// missing drive) is left out and the setup log says why. Never fails.
std::vector<VolumeSpace> MeasureInstallSpace(const InstallPlan& plan, std::wstring_view installFolder,
                                             std::wstring_view fontsFolder,
                                             FreeSpaceQuery freeSpace = FreeBytesForUser);
