#include "tests/kit/package_builder.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/deployment_manifest.h"
#include "engine/fonts.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

const wchar_t* const kPackageFonts[7] = {L"ARIAL.TTF",  L"ARIALN.TTF", L"COUR.TTF",   L"MICROSS.TTF",
                                         L"TAHOMA.TTF", L"TIMES.TTF",  L"verdana.TTF"};

namespace {

// Free fonts of the Linux host (fonts-liberation, fonts-dejavu-core) under
// the names the package uses, one distinct face each, with the full name
// each file carries.
struct FontSource {
    const wchar_t* path;
    const wchar_t* face;
};
constexpr FontSource kFontSources[7] = {
    {L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSans-Regular.ttf", L"Liberation Sans"},
    {L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSansNarrow-Regular.ttf", L"Liberation Sans Narrow"},
    {L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationMono-Regular.ttf", L"Liberation Mono"},
    {L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans-Bold.ttf", L"DejaVu Sans Bold"},
    {L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf", L"DejaVu Sans"},
    {L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSerif-Regular.ttf", L"Liberation Serif"},
    {L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSansMono.ttf", L"DejaVu Sans Mono"},
};

// The driver package also carries subfolders, as the real one does.
constexpr const wchar_t* kDriverFiles[] = {L"ftdibus.inf", L"i386\\ftdibus.sys", L"amd64\\ftdibus.sys"};

constexpr char kUpdaterConfig[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<configuration>\r\n  <appSettings>\r\n"
    "    <add key=\"UpdateFolder\" value=\"backup\" />\r\n  </appSettings>\r\n</configuration>\r\n";

[[noreturn]] void Fail(const std::wstring& what) {
    throw std::runtime_error("package: " + ToUtf8(what));
}

void MakeFolders(const std::wstring& folder) {
    std::wstring path;
    for (wchar_t c : WithTrailingBackslash(folder)) {
        path += c;
        if (c == L'\\' && path.size() > 3) CreateDirectoryW(path.c_str(), nullptr);
    }
}

void Put(const std::wstring& root, const std::wstring& relative, std::string_view bytes) {
    MakeFolders(FolderOf(root + relative));
    WriteFileBytes(root + relative, bytes);
}

void PutGenerated(const std::wstring& root, const std::wstring& relative) {
    Put(root, relative, StandInContent(relative));
}

void CopyIn(const std::wstring& source, const std::wstring& destination) {
    MakeFolders(FolderOf(destination));
    if (!CopyFileW(source.c_str(), destination.c_str(), FALSE)) Fail(L"cannot copy " + source);
}

// A database of the given size: a header line, then a repeating pattern.
void PutDatabase(const std::wstring& root, uint64_t size) {
    const std::wstring relative = JoinPath(kDatabaseFolder, kDatabaseFile);
    MakeFolders(FolderOf(root + relative));
    ScopedHandle file(CreateFileW((root + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail(L"cannot create " + relative);
    std::string block = StandInContent(relative);
    block.resize(1 << 20, '\x5A');
    for (uint64_t left = size; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(left, block.size()));
        DWORD written = 0;
        if (!WriteFile(file.get(), block.data(), chunk, &written, nullptr) || written != chunk)
            Fail(L"cannot write " + relative);
        left -= chunk;
    }
}

void MarkTreeReadOnly(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!find) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            MarkTreeReadOnly(folder + name + L"\\");
        else
            SetFileAttributesW((folder + name).c_str(), entry.dwFileAttributes | FILE_ATTRIBUTE_READONLY);
    } while (FindNextFileW(find.get(), &entry));
}

void Remove(const std::wstring& path) {
    if (DirectoryExists(path)) {
        RemoveTree(path);
    } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
}

}  // namespace

std::string StandInContent(const std::wstring& relativePath) {
    return "Velmora demo package: " + ToUtf8(relativePath) + "\r\n";
}

void BuildPackage(const std::wstring& folder, const PackageOptions& options) {
    const std::wstring root = WithTrailingBackslash(folder);
    MakeFolders(root);
    const std::wstring standIns =
        WithTrailingBackslash(options.standInFolder.empty() ? ModuleFolder() : options.standInFolder);

    PutDatabase(root, options.databaseSize);
    for (RuntimeChoice runtime : {RuntimeChoice::Modern, RuntimeChoice::WindowsXp})
        for (const CopyGroup& group : CopyGroups(runtime))
            for (std::wstring_view name : group.files) PutGenerated(root, JoinPath(group.sourceFolder, name));

    for (size_t i = 0; i < std::size(kPackageFonts); ++i)
        CopyIn(kFontSources[i].path, root + L"fonts\\" + kPackageFonts[i]);

    CopyIn(standIns + options.driverStandIn, root + std::wstring(kDriverProgram));
    for (const wchar_t* name : kDriverFiles) PutGenerated(root, std::wstring(kDriverFolder) + L"\\" + name);

    for (const std::wstring& name : options.updatePackages) {
        const std::wstring script = std::wstring(kBackupFolder) + L"\\" + name + L"\\Install.cmd";
        Put(root, script, "@echo off\r\necho " + ToUtf8(name) + "> ..\\" + ToUtf8(name) + ".done\r\n");
    }

    const std::wstring updater = std::wstring(kUpdaterFolder) + L"\\";
    Put(root, updater + std::wstring(kReleaseInfoFile), options.releaseInfo);
    Put(root, updater + std::wstring(kUpdaterConfigFile), kUpdaterConfig);
    CopyIn(standIns + L"Shell.exe", root + updater + L"Shell.exe");

    if (options.readOnlyTrees) {
        MarkTreeReadOnly(root + std::wstring(kBackupFolder) + L"\\");
        MarkTreeReadOnly(root + updater);
    }
    for (const std::wstring& path : options.leaveOut) Remove(root + path);
}

std::vector<std::wstring> ExpectedFontLines() {
    const FontTargets system = SystemFontTargets();
    std::vector<std::wstring> lines;
    for (size_t i = 0; i < std::size(kPackageFonts); ++i)
        if (!IsFontInstalled(system, kPackageFonts[i]))
            lines.push_back(L"Шрифт <" + std::wstring(kFontSources[i].face) + L"> уcтановлен");
    return lines;
}
