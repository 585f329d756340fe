// The checks "Начать установку" makes before the installation changes
// anything: no junction or symbolic link among the folders it writes
// through, room on every volume it writes to, and the rights that the fonts
// and the driver need.
#pragma once

#include <string_view>

#include "engine/install_request.h"
#include "engine/install_space.h"
#include "engine/install_view.h"
#include "engine/system_rights.h"

// Tells whether this process may install the fonts and the driver
// (CanInstallSystemFonts; a test can put in its own answer).
using RightsProbe = bool (*)();
// What of the installation needs those rights (RightsNeedsOfThisPc; a test
// can put in its own answer).
using RightsNeedsProbe = RightsNeeds (*)(const InstallRequest& request);

// Whether the installation may begin, and if not, why.
enum class PreflightVerdict {
    Go,
    LinkedDestination,  // a folder written through is a junction or link; the box said so
    NoRoom,             // a volume lacks room; the box said so
    NoRights,           // no administrator rights, and the answer was not to go on
};

// Measures the installation that request describes from installerFolder.
// When the install folder or one of its folders that the installation writes
// into (Settings, DTAfb, intl, udf, backup, and FTDIDriverInstall when the
// driver is chosen) is a junction or symbolic link, shows an error box naming
// it: LinkedDestination. When a volume lacks room, shows an error box naming
// it with the MB needed and available: NoRoom. Otherwise, when
// canInstallSystemFiles says no and needsOf finds a step that needs the
// rights, asks whether to go on without them, naming those steps: Go on Yes,
// NoRights on No; Go without a question when the rights are there or nothing
// needs them. Writes nothing but the setup log's lines for the checks. The
// free space comes from freeSpace. Raises CheckDatabaseReplaceable's error
// ("Cannot create file "<install folder>\DTAfb\V12.FDB". <system text>")
// when the database in place is held by another program or read-only.
PreflightVerdict CheckBeforeInstallation(InstallView& view, const InstallRequest& request,
                                         std::wstring_view installerFolder,
                                         RightsProbe canInstallSystemFiles = CanInstallSystemFonts,
                                         FreeSpaceQuery freeSpace = FreeBytesForUser,
                                         RightsNeedsProbe needsOf = RightsNeedsOfThisPc);
