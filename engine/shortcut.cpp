#include "engine/shortcut.h"

#include <shlobj.h>
#include <windows.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/shortcut_name.h"

using Microsoft::WRL::ComPtr;

namespace {

// Where the registry keeps a place's folder, under HKEY_CURRENT_USER.
struct PlaceLocation {
    const wchar_t* key;
    const wchar_t* subkey;  // nullptr: the place has no registry folder
    const wchar_t* value;
};

constexpr wchar_t kExplorerKey[] = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";

PlaceLocation LocationOf(ShortcutPlace place) {
    switch (place) {
        case ShortcutPlace::Desktop:
            return {kExplorerKey, L"Shell Folders", L"Desktop"};
        case ShortcutPlace::QuickLaunch:
            return {L"Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv", L"MapGroups", L"Quick Launch"};
        case ShortcutPlace::SendTo:
            return {kExplorerKey, L"Shell Folders", L"SendTo"};
        case ShortcutPlace::StartMenu:
            return {kExplorerKey, L"Shell Folders", L"Start Menu"};
        default:
            return {kExplorerKey, nullptr, nullptr};
    }
}

// The string value as stored (no expansion); empty when it is missing or
// empty. Raises Error when it holds another type.
std::wstring ReadStringValue(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw Error(L"Invalid data type for '" + std::wstring(name) + L"'");
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return {};
    return data.data();
}

// The place's folder from the registry: the key is opened with full access
// (created when missing), the subkey only opened.
std::wstring RegistryFolder(const PlaceLocation& location) {
    ScopedRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, location.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS)
        return {};
    if (!location.subkey) return {};
    ScopedRegKey subkey;
    if (RegOpenKeyExW(key.get(), location.subkey, 0, KEY_ALL_ACCESS, subkey.receive()) != ERROR_SUCCESS) return {};
    return ReadStringValue(subkey.get(), location.value);
}

// A folder as the shell knows it.
std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, 0, nullptr, &path);
    const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owner(path, &CoTaskMemFree);
    return SUCCEEDED(hr) && path ? std::wstring(path) : std::wstring();
}

std::wstring PlaceFolder(ShortcutPlace place, std::wstring_view subFolder) {
    // Every place opens (and if need be creates) its registry key, the
    // given folder and unknown places included, as the package's other
    // programs do.
    std::wstring folder = RegistryFolder(LocationOf(place));
    if (place == ShortcutPlace::GivenFolder) folder = subFolder;
    // The user's desktop as the shell knows it, for registries without the
    // "Shell Folders" shadow value.
    if (place == ShortcutPlace::Desktop && folder.empty()) folder = KnownFolder(FOLDERID_Desktop);
    return folder;
}

// The shell-link calls whose results the shortcut does not act on: a
// failure goes into the setup log.
void LogIfFailed(std::wstring_view call, HRESULT result) {
    if (FAILED(result))
        setup_log::WriteError(L"Shortcut: " + std::wstring(call) + L" failed", static_cast<DWORD>(result));
}

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40];
    return StringFromGUID2(guid, text, 40) ? std::wstring(text) : std::wstring();
}

}  // namespace

Result<> CreateShortcut(std::wstring_view target, ShortcutPlace place, std::wstring_view subFolder,
                        std::wstring_view workingFolder, std::wstring_view arguments,
                        std::wstring_view description, std::wstring_view linkName, std::wstring& linkFile) {
    ComPtr<IUnknown> object;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                             IID_IUnknown, reinterpret_cast<void**>(object.GetAddressOf()));
    if (FAILED(created))
        throw Error(SystemErrorText(static_cast<DWORD>(created)) + L", ClassID: " + GuidText(CLSID_ShellLink));
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(object.As(&link)) || FAILED(object.As(&file))) throw Error(L"Interface not supported");

    LogIfFailed(L"SetPath", link->SetPath(std::wstring(target).c_str()));
    LogIfFailed(L"SetArguments", link->SetArguments(std::wstring(arguments).c_str()));
    LogIfFailed(L"SetDescription", link->SetDescription(std::wstring(description).c_str()));

    const std::wstring fileName = ShortcutFileName(linkName, target);
    const std::wstring folder = PlaceFolder(place, subFolder);
    if (folder.empty()) return Result<>::Failure(L"Shortcut not saved: no folder for it", ERROR_PATH_NOT_FOUND);
    const bool intoSubFolder = !subFolder.empty() && place != ShortcutPlace::GivenFolder;
    const std::wstring path = JoinPath(intoSubFolder ? JoinPath(folder, subFolder) : folder, fileName);

    LogIfFailed(L"SetWorkingDirectory",
                link->SetWorkingDirectory(
                    (workingFolder.empty() ? WithTrailingBackslash(FolderOf(target)) : std::wstring(workingFolder))
                        .c_str()));
    linkFile = path;
    const HRESULT saved = file->Save(path.c_str(), FALSE);
    if (FAILED(saved)) return Result<>::Failure(L"Shortcut not saved: " + path, static_cast<DWORD>(saved));
    return {};
}

std::wstring AllUsersDesktopFolder() {
    return KnownFolder(FOLDERID_PublicDesktop);
}
