#include "engine/system_rights.h"

#include <string>

#include "base/handles.h"
#include "base/setup_log.h"

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

// A new file is what the font copy makes there; the system deletes the
// probe when its handle closes.
bool CanWriteFontsFolder(const FontTargets& targets) {
    const std::wstring probe =
        targets.fontsFolder + L"~VelmoraSetup-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const ScopedHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file) return true;
    const DWORD code = GetLastError();
    setup_log::WriteError(L"Rights: no file can be created in the fonts folder " + targets.fontsFolder, code);
    return false;
}

}  // namespace

bool CanInstallFontsInto(const FontTargets& targets) {
    const bool key = CanWriteFontsKey(targets);
    const bool folder = CanWriteFontsFolder(targets);
    return key && folder;
}

bool CanInstallSystemFonts() {
    return CanInstallFontsInto(SystemFontTargets());
}
