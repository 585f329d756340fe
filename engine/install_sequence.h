// The installation: one synchronous pass that deploys the package from the
// installer folder into the folder the request names, reporting each step
// in the view's progress list.
#pragma once

#include <string_view>

#include "engine/file_ops.h"
#include "engine/install_request.h"
#include "engine/install_view.h"
#include "engine/plan_executor.h"

// Runs the installation that request describes from installerFolder. It
// returns when the installation ends, at its end or early on a failure that
// the view has been told about. Errors raised by the operations (for example
// "Cannot open file "<path>". <system text>") end it and pass to the caller,
// which shows them; the busy state is undone before they leave. Besides the
// install folder it installs the package's fonts into the system, starts the
// driver installer and the newest update script, puts a shortcut on the
// user's desktop and leaves the install folder as the current folder. What
// follows the end ("Выход", the last page or question) is the window's.
InstallOutcome RunInstallation(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder,
                               const PassOptions& options = {});
