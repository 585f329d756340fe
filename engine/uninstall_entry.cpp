#include "engine/uninstall_entry.h"

#include <windows.h>

#include "base/handles.h"

namespace {

const std::wstring kKey(kUninstallKey);

Result<> SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    const LSTATUS status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status == ERROR_SUCCESS) return {};
    return Result<>::Failure(L"Cannot write registry value " + std::wstring(name) + L" of HKLM\\" + kKey, status);
}

Result<> SetNumber(HKEY key, const wchar_t* name, DWORD value) {
    const LSTATUS status =
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    if (status == ERROR_SUCCESS) return {};
    return Result<>::Failure(L"Cannot write registry value " + std::wstring(name) + L" of HKLM\\" + kKey, status);
}

}  // namespace

Result<> WriteUninstallEntry(const UninstallEntry& entry) {
    ScopedRegKey key;
    const LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, nullptr, 0,
                                           KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, key.receive(), nullptr);
    if (status != ERROR_SUCCESS) return Result<>::Failure(L"Cannot create registry key HKLM\\" + kKey, status);
    const std::pair<const wchar_t*, const std::wstring&> texts[] = {
        {L"DisplayName", entry.displayName},
        {L"DisplayVersion", entry.displayVersion},
        {L"InstallerVersion", entry.installerVersion},
        {L"Publisher", entry.publisher},
        {L"InstallLocation", entry.installLocation},
        {L"InstallDate", entry.installDate},
        {L"DisplayIcon", entry.displayIcon},
        {L"UninstallString", entry.uninstallString},
        {L"QuietUninstallString", entry.quietUninstallString},
    };
    for (const auto& [name, value] : texts)
        if (Result<> result = SetText(key.get(), name, value); !result) return result;
    const std::pair<const wchar_t*, DWORD> numbers[] = {
        {L"EstimatedSize", entry.estimatedSizeKiB}, {L"NoModify", 1}, {L"NoRepair", 1}};
    for (const auto& [name, value] : numbers)
        if (Result<> result = SetNumber(key.get(), name, value); !result) return result;
    return {};
}

std::wstring UninstallEntryLocation() {
    ScopedRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, key.receive()) !=
        ERROR_SUCCESS)
        return L"";
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(key.get(), nullptr, L"InstallLocation", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"";
    return value;
}

Result<> DeleteUninstallEntry() {
    const LSTATUS status = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey.c_str(), KEY_WOW64_32KEY, 0);
    if (status == ERROR_SUCCESS) return {};
    return Result<>::Failure(L"Cannot delete registry key HKLM\\" + kKey, status);
}
