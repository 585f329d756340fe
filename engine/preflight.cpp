#include "engine/preflight.h"

#include <vector>

#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/fonts.h"
#include "engine/install_space.h"

namespace {

constexpr std::wstring_view kRightsQuestion =
    L"Шрифты и драйвер устройства не могут быть установлены без прав администратора.\r\n"
    L"Чтобы установить их, запустите программу установки от имени администратора.\r\n"
    L"Продолжить установку?";

bool EveryVolumeHasRoom(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder) {
    const std::vector<VolumeSpace> volumes =
        MeasureInstallSpace(installerFolder, WithTrailingBackslash(request.installFolder), request.runtime,
                            request.driver, SystemFontTargets().fontsFolder);
    for (const VolumeSpace& volume : volumes) setup_log::Write(SpaceLogText(volume));
    for (const VolumeSpace& volume : volumes) {
        if (HasRoom(volume)) continue;
        view.ShowErrorBox(NoRoomText(volume));
        setup_log::Write(L"Installation not started: too little free space on " + volume.volume);
        return false;
    }
    return true;
}

bool RightsSufficeOrUserGoesOn(InstallView& view, RightsProbe canInstallSystemFiles) {
    if (canInstallSystemFiles()) {
        setup_log::Write(L"Rights: the fonts and the driver can be installed");
        return true;
    }
    setup_log::Write(L"Rights: without administrator rights the fonts and the driver cannot be installed");
    const bool goOn = view.AskYesNo(kRightsQuestion, YesNoCaptions::Platform);
    setup_log::Write(goOn ? L"Rights: the user goes on without them" : L"Installation not started: no rights");
    return goOn;
}

}  // namespace

PreflightVerdict CheckBeforeInstallation(InstallView& view, const InstallRequest& request,
                                         std::wstring_view installerFolder, RightsProbe canInstallSystemFiles) {
    if (!EveryVolumeHasRoom(view, request, installerFolder)) return PreflightVerdict::NoRoom;
    if (!RightsSufficeOrUserGoesOn(view, canInstallSystemFiles)) return PreflightVerdict::NoRights;
    return PreflightVerdict::Go;
}
