// Whether this process has the rights that the fonts and the driver need:
// Windows lets only administrators (elevated, where UAC is on) write the
// machine-wide fonts key and the system's fonts folder, and install drivers.
#pragma once

#include "engine/fonts.h"
#include "engine/install_request.h"
#include "engine/rights_question.h"

// True when this process can open targets' registry key with the access the
// font installation asks for and create a file in targets' fonts folder.
// The probe file is gone again when it returns; the key is not changed. Each
// refusal goes to the setup log with the system's error text. Never fails.
bool CanInstallFontsInto(const FontTargets& targets);

// CanInstallFontsInto for the system's own targets.
bool CanInstallSystemFonts();

// What of the installation request describes needs the rights on this PC:
// the fonts when one of the package's is not installed in the system, the
// driver when chosen, and the install folder (or the folder it will be made
// in) when no file can be created there. Refusals go to the setup log.
// Never fails.
RightsNeeds RightsNeedsOfThisPc(const InstallRequest& request);
