#include "engine/preflight.h"

#include <vector>

#include "base/package_names.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/database_swap.h"
#include "engine/deployment_manifest.h"
#include "engine/fonts.h"
#include "engine/install_space.h"
#include "engine/tree_walk.h"

namespace {

// The folders the installation writes through: the install folder and its
// top-level folders. A junction or symbolic link among them would take the
// package's files, and an administrator's rights, somewhere else.
std::vector<std::wstring> Destinations(const InstallRequest& request) {
    const std::wstring install = WithTrailingBackslash(request.installFolder);
    std::vector<std::wstring> folders = {install};
    for (std::wstring_view folder : {kSettingsFolder, kDatabaseFolder})
        folders.push_back(install + std::wstring(folder));
    for (const CopyGroup& group : CopyGroups(request.runtime))
        if (!group.destinationFolder.empty()) folders.push_back(install + std::wstring(group.destinationFolder));
    folders.push_back(install + std::wstring(kBackupFolder));
    if (request.driver) folders.push_back(install + std::wstring(kDriverFolder));
    for (std::wstring& folder : folders)
        if (folder.back() == L'\\') folder.pop_back();
    return folders;
}

bool NoDestinationIsALink(InstallView& view, const InstallRequest& request) {
    for (const std::wstring& folder : Destinations(request)) {
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

bool EveryVolumeHasRoom(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder,
                        FreeSpaceQuery freeSpace) {
    const std::vector<VolumeSpace> volumes =
        MeasureInstallSpace(installerFolder, WithTrailingBackslash(request.installFolder), request.runtime,
                            request.driver, SystemFontTargets().fontsFolder, freeSpace);
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
    const bool goOn = view.AskYesNo(RightsQuestionText(needs), YesNoCaptions::Platform, DefaultButton::Yes);
    setup_log::Write(goOn ? L"Rights: the user goes on without them" : L"Installation not started: no rights");
    return goOn;
}

}  // namespace

PreflightVerdict CheckBeforeInstallation(InstallView& view, const InstallRequest& request,
                                         std::wstring_view installerFolder, RightsProbe canInstallSystemFiles,
                                         FreeSpaceQuery freeSpace, RightsNeedsProbe needsOf) {
    if (!NoDestinationIsALink(view, request)) return PreflightVerdict::LinkedDestination;
    // A database held by the program or the database server would stop the
    // pass at its copy, after the settings were rewritten: refused first.
    CheckDatabaseReplaceable(WithTrailingBackslash(request.installFolder) + std::wstring(kDatabaseFolder) +
                             std::wstring(kDatabaseFile));
    if (!EveryVolumeHasRoom(view, request, installerFolder, freeSpace)) return PreflightVerdict::NoRoom;
    if (!RightsSufficeOrUserGoesOn(view, request, canInstallSystemFiles, needsOf))
        return PreflightVerdict::NoRights;
    return PreflightVerdict::Go;
}
