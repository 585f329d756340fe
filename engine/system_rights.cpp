#include "engine/system_rights.h"

#include <string>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/setup_log.h"
#include "base/strings.h"

namespace {

bool CanWriteFontsKey(const FontTargets& targets) {
    ScopedRegKey key;
    const LSTATUS status =
        RegOpenKeyExW(targets.registryRoot, targets.registryKey.c_str(), 0, KEY_ALL_ACCESS, key.receive());
    if (status == ERROR_SUCCESS) return true;
    setup_log::WriteError(L"Rights: the fonts key " + targets.registryKey + L" cannot be written",
                          static_cast<DWORD>(status));
    return false;
}

// A new file is what the installation makes there; the system deletes the
// probe when its handle closes.
bool CanCreateFileIn(const std::wstring& folder, std::wstring_view what) {
    const std::wstring probe =
        JoinPath(folder, L"~VelmoraSetup-" + std::to_wstring(GetCurrentProcessId()) + L".tmp");
    const ScopedHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file) return true;
    const DWORD code = GetLastError();
    setup_log::WriteError(L"Rights: no file can be created in " + std::wstring(what) + folder, code);
    return false;
}

bool IsEveryPackageFontInstalled() {
    for (const wchar_t* name : FontFiles())
        if (!IsFontInstalled(SystemFontTargets(), name)) return false;
    return true;
}

}  // namespace

bool CanInstallFontsInto(const FontTargets& targets) {
    const bool key = CanWriteFontsKey(targets);
    const bool folder = CanCreateFileIn(targets.fontsFolder, L"the fonts folder ");
    return key && folder;
}

bool CanInstallSystemFonts() {
    return CanInstallFontsInto(SystemFontTargets());
}

RightsNeeds RightsNeedsOfThisPc(const InstallRequest& request) {
    RightsNeeds needs;
    needs.fonts = !IsEveryPackageFontInstalled();
    needs.driver = request.driver;
    // The install folder, or where it will be made.
    if (const std::wstring folder = NearestExistingFolder(request.installFolder); !CanCreateFileIn(folder, L""))
        needs.unwritableFolder = folder;
    return needs;
}
