#include "engine/preflight.h"

#include <vector>

#include "base/package_names.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/database_swap.h"
#include "engine/fonts.h"
#include "engine/install_plan.h"
#include "engine/install_space.h"
#include "engine/tree_walk.h"

namespace {

// The folders the installation writes through: the install folder and its
// folders. A junction or symbolic link among them would take the package's
// files, and an administrator's rights, somewhere else.
bool NoDestinationIsALink(InstallView& view, const InstallPlan& plan) {
    for (const std::wstring& folder : FoldersWrittenThrough(plan)) {
        if (!IsLinkAt(folder)) continue;
        setup_log::Write(L"Installation not started: " + folder + L" is a junction or symbolic link");
        view.ShowErrorBox(L"Каталог " + folder +
                          L" является ссылкой на другой каталог (соединением или символической ссылкой)!\r\n"
                          L"Программа установки не записывает файлы через ссылки. Удалите ссылку или выберите "
                          L"другой каталог для установки.");
        return false;
    }
    return true;
}

bool EveryVolumeHasRoom(InstallView& view, const InstallPlan& plan, std::wstring_view installFolder,
                        std::wstring_view fontsFolder, FreeSpaceQuery freeSpace) {
    const std::vector<VolumeSpace> volumes = MeasureInstallSpace(plan, installFolder, fontsFolder, freeSpace);
    for (const VolumeSpace& volume : volumes) setup_log::Write(SpaceLogText(volume));
    for (const VolumeSpace& volume : volumes) {
        if (HasRoom(volume)) continue;
        view.ShowErrorBox(NoRoomText(volume));
        setup_log::Write(L"Installation not started: too little free space on " + volume.volume);
        return false;
    }
    return true;
}

bool RightsSufficeOrUserGoesOn(InstallView& view, const InstallRequest& request, RightsProbe canInstallSystemFiles,
                               RightsNeedsProbe needsOf) {
    if (canInstallSystemFiles()) {
        setup_log::Write(L"Rights: the fonts and the driver can be installed");
        return true;
    }
    const RightsNeeds needs = needsOf(request);
    if (!needs.Any()) {
        setup_log::Write(
            L"Rights: no administrator rights, and none needed: every font of the package is "
            L"installed, the driver is not chosen and the install folder can be written");
        return true;
    }
    setup_log::Write(L"Rights: without administrator rights " + RightsNeedsLogText(needs) +
                     L" cannot be installed");
    const bool goOn = view.AskYesNo(GoOnWithoutRightsQuestion(needs));
    setup_log::Write(goOn ? L"Rights: the user goes on without them" : L"Installation not started: no rights");
    return goOn;
}

}  // namespace

PreflightVerdict CheckBeforeInstallation(InstallView& view, const InstallRequest& request,
                                         std::wstring_view installerFolder, RightsProbe canInstallSystemFiles,
                                         FreeSpaceQuery freeSpace, RightsNeedsProbe needsOf) {
    // The plan the installation will run.
    const std::wstring fontsFolder = SystemFontTargets().fontsFolder;
    const InstallPlan plan = BuildInstallPlan(request, installerFolder, fontsFolder);
    if (!NoDestinationIsALink(view, plan)) return PreflightVerdict::LinkedDestination;
    // A database held by the program or the database server would stop the
    // pass at its copy, after the settings were rewritten: refused first. A
    // database kept as it is may be in use.
    for (const PlanStep& step : plan)
        if (step.kind == StepKind::Database && !KeepsItsDestination(step))
            CheckDatabaseReplaceable(step.copies.front().destination);
    if (!EveryVolumeHasRoom(view, plan, request.installFolder, fontsFolder, freeSpace))
        return PreflightVerdict::NoRoom;
    if (!RightsSufficeOrUserGoesOn(view, request, canInstallSystemFiles, needsOf))
        return PreflightVerdict::NoRights;
    return PreflightVerdict::Go;
}
