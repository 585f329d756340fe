#include "engine/fonts.h"

#include <iterator>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/file_ops.h"
#include "engine/font_name_table.h"

namespace {

constexpr const wchar_t* kFontFiles[] = {L"ARIAL.TTF",  L"ARIALN.TTF", L"COUR.TTF",   L"MICROSS.TTF",
                                         L"TAHOMA.TTF", L"TIMES.TTF",  L"verdana.TTF"};

constexpr wchar_t kFontsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// GetFontResourceInfoW's query for the font's descriptive (full) name.
constexpr DWORD kQueryDescription = 1;

// Longest face name worth a buffer; GDI's own limit is far below it.
constexpr DWORD kMaxFaceBytes = 64 * 1024;

// A font file added to this session's font table, removed again.
class AddedFontResource {
public:
    explicit AddedFontResource(const std::wstring& path)
        : path_(path), added_(AddFontResourceW(path.c_str()) != 0) {}
    ~AddedFontResource() {
        if (added_) RemoveFontResourceW(path_.c_str());
    }
    AddedFontResource(const AddedFontResource&) = delete;
    AddedFontResource& operator=(const AddedFontResource&) = delete;
    bool added() const { return added_; }

private:
    std::wstring path_;
    bool added_;
};

std::wstring FaceFromGdi(const std::wstring& path) {
    using GetFontResourceInfoFn = BOOL(WINAPI*)(LPCWSTR, LPDWORD, LPVOID, DWORD);
    // Undocumented, so looked up rather than imported.
    const auto getInfo = reinterpret_cast<GetFontResourceInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "GetFontResourceInfoW")));
    if (!getInfo) return {};
    const AddedFontResource font(path);
    if (!font.added()) return {};
    DWORD size = 0;
    getInfo(path.c_str(), &size, nullptr, kQueryDescription);
    if (size < sizeof(wchar_t) || size > kMaxFaceBytes) return {};
    // One unit more than asked for, so the text is terminated whatever the
    // second call writes.
    std::vector<wchar_t> face(size / sizeof(wchar_t) + 1, L'\0');
    getInfo(path.c_str(), &size, face.data(), kQueryDescription);
    return face.data();
}

std::wstring FaceFromNameTable(std::wstring_view path) {
    try {
        const std::vector<unsigned char> font = ReadWholeFile(path);
        return FontFullName(font.data(), font.size());
    } catch (const Error&) {
        return {};
    }
}

// GDI's font-table calls do not always say why they refused: code is the
// refusing call's last error, taken right after it, and may be 0.
void LogRefusal(const std::wstring& event, DWORD code) {
    if (code != ERROR_SUCCESS)
        setup_log::WriteError(event, code);
    else
        setup_log::Write(event);
}

// Tells running programs that the font table changed; a hung window
// elsewhere on the PC is skipped instead of stopping the installation.
void AnnounceFontChange() {
    if (!SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"WM_FONTCHANGE broadcast not answered by every window", code);
    }
}

// Copies the font into the fonts folder. A copy that was not written whole
// is removed again, so that the font counts as missing at the next run.
void CopyFont(const std::wstring& source, const std::wstring& installed, FileCopy copy) {
    const Result<> copied = copy(source, installed);
    if (copied) return;
    DeleteFileW(installed.c_str());
    throw Error(L"Cannot write file \"" + installed + L"\". " + SystemErrorText(copied.code()));
}

// Writes the font's registry value; on failure the copied file is removed
// again, so that a later run installs the font whole.
void RegisterFont(const FontTargets& targets, const std::wstring& valueName, std::wstring_view fileName,
                  const std::wstring& installed) {
    ScopedRegKey key;
    LSTATUS status =
        RegOpenKeyExW(targets.registryRoot, targets.registryKey.c_str(), 0, KEY_ALL_ACCESS, key.receive());
    const std::wstring data(fileName);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    if (status == ERROR_SUCCESS)
        status = RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    if (status != ERROR_SUCCESS) {
        setup_log::WriteError(L"Font registry value not written: " + valueName, static_cast<DWORD>(status));
        if (!DeleteFileW(installed.c_str())) {
            const DWORD code = GetLastError();
            setup_log::WriteError(L"Font file not removed again: " + installed, code);
        }
        throw Error(L"Failed to set data for '" + valueName + L"'");
    }
    RegFlushKey(key.get());
}

// Whether the fonts key has a value naming fileName (the bare name, or a
// path ending in it; case does not count, as Windows writes its own in
// lower case).
bool IsRegistered(const FontTargets& targets, std::wstring_view fileName) {
    ScopedRegKey key;
    if (RegOpenKeyExW(targets.registryRoot, targets.registryKey.c_str(), 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring wanted(fileName);
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[16384];
        DWORD nameLength = static_cast<DWORD>(std::size(valueName));
        wchar_t data[MAX_PATH + 1] = {};
        DWORD bytes = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key.get(), index, valueName, &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data), &bytes);
        if (status == ERROR_NO_MORE_ITEMS) return false;
        // A value too long for a font file's path is not one of ours.
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        const std::wstring_view path(data);
        const std::wstring_view file = path.substr(path.find_last_of(L'\\') + 1);
        if (SameFileName(file, wanted)) return true;
    }
}

}  // namespace

bool IsFontInstalled(const FontTargets& targets, std::wstring_view name) {
    return FileExists(JoinPath(targets.fontsFolder, name)) && IsRegistered(targets, name);
}

FontTargets SystemFontTargets() {
    wchar_t windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring folder = length == 0 || length >= MAX_PATH ? L"" : std::wstring(windows);
    return {JoinPath(folder, L"fonts"), HKEY_LOCAL_MACHINE, kFontsKey};
}

std::span<const wchar_t* const> FontFiles() {
    return kFontFiles;
}

std::wstring PackageFontsFolder(std::wstring_view installerFolder) {
    return JoinPath(installerFolder, L"fonts");
}

void InstallFonts(std::wstring_view installerFolder, const FontLineSink& addLine, const FontTargets& targets,
                  FileCopy copy) {
    const std::wstring sourceFolder = PackageFontsFolder(installerFolder);
    for (const wchar_t* name : kFontFiles) InstallFontFile(name, sourceFolder, targets, addLine, copy);
}

void InstallFontFile(std::wstring_view name, std::wstring_view sourceFolder, const FontTargets& targets,
                     const FontLineSink& addLine, FileCopy copy) {
    const std::wstring source = JoinPath(sourceFolder, name);
    const std::wstring installed = JoinPath(targets.fontsFolder, name);
    if (IsFontInstalled(targets, name)) return;
    if (FileExists(installed)) {
        setup_log::Write(L"Font file without its registry value (a run ended before registering it): " +
                         installed + L"; installed whole");
    }

    const std::wstring face = ReadFontFaceName(source);
    CopyFont(source, installed, copy);
    RegisterFont(targets, face + L" (TrueType)", name, installed);

    if (!AddFontResourceW(installed.c_str())) {
        const DWORD code = GetLastError();
        LogRefusal(L"AddFontResourceW refused " + installed, code);
    }
    AnnounceFontChange();
    if (!RemoveFontResourceW(installed.c_str())) {
        const DWORD code = GetLastError();
        LogRefusal(L"RemoveFontResourceW refused " + installed, code);
    }
    AnnounceFontChange();
    // The "c" in "уcтановлен" is the Latin letter, as the package has always
    // written it.
    addLine(L"Шрифт <" + face + L"> уcтановлен");
}

std::wstring ReadFontFaceName(std::wstring_view path) {
    const std::wstring file(path);
    std::wstring face = FaceFromGdi(file);
    if (face.empty()) face = FaceFromNameTable(file);
    return face;
}
