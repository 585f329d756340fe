#include "engine/install_sequence.h"

#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/fonts.h"
#include "engine/install_plan.h"
#include "engine/plan_executor.h"

namespace {

void LogStart(const InstallRequest& request, std::wstring_view installerFolder) {
    setup_log::Write(L"Installation started. Install folder: " + WithTrailingBackslash(request.installFolder) +
                     L"; installer folder: " + WithTrailingBackslash(installerFolder));
    setup_log::Write(std::wstring(L"Choices: runtime for ") +
                     (request.runtime == RuntimeChoice::Modern ? L"Windows 7, Windows 8" : L"Windows XP") +
                     L"; driver " + (request.driver ? L"chosen" : L"not chosen") + L"; brand " +
                     (request.alternativeBrand ? L"alternative" : L"standard"));
}

}  // namespace

InstallOutcome RunInstallation(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder,
                               const PassOptions& options) {
    LogStart(request, installerFolder);
    view.ShowProgressPage();
    view.Refresh();
    Pass pass(view, request, installerFolder, options);
    return ExecutePlan(pass, BuildInstallPlan(request, installerFolder, SystemFontTargets().fontsFolder));
}
