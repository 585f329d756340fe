#include "engine/held_package.h"

#include <windows.h>

#include "base/file_system.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/destination_guard.h"
#include "engine/tree_walk.h"

namespace {

constexpr DWORD kBlock = 64 * 1024;

// Reads up to kBlock bytes of file at offset into block; false on a failed
// read.
bool ReadBlock(HANDLE file, uint64_t offset, std::vector<unsigned char>& block) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    block.resize(kBlock);
    DWORD got = 0;
    if (!ReadFile(file, block.data(), kBlock, &got, &at) && GetLastError() != ERROR_HANDLE_EOF) return false;
    block.resize(got);
    return true;
}

// True when the held file has exactly the bytes of the file at other.
bool SameBytes(HANDLE held, const std::wstring& other) {
    ScopedHandle theirs(
        CreateFileW(other.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!theirs) return false;
    std::vector<unsigned char> mine, their;
    for (uint64_t offset = 0;; offset += kBlock) {
        if (!ReadBlock(held, offset, mine) || !ReadBlock(theirs.get(), offset, their) || mine != their)
            return false;
        if (mine.size() < kBlock) return true;
    }
}

// The files a tree copy of the distribution's package takes into the
// install folder.
size_t ShippedFiles(const std::wstring& shipped) {
    size_t count = 0;
    ForEachTreeFile(shipped, [&](const std::wstring&) { ++count; });
    return count;
}

}  // namespace

HeldPackage::HeldPackage(std::wstring_view installed, std::wstring_view shipped) {
    const std::wstring folder(installed);
    const std::wstring theirs(shipped);
    if (IsLinkAt(folder)) {
        Note(PackageVerdict::Unverified, L"the package folder is a junction or symbolic link: " + folder);
        return;
    }
    if (!HoldFolder(folder)) return;
    if (!DirectoryExists(theirs))
        Note(PackageVerdict::Foreign, L"the distribution has no such package: " + theirs);
    Walk(folder, theirs, L"");
    if (const size_t shippedFiles = ShippedFiles(theirs);
        verdict_ == PackageVerdict::Distribution && files_ != shippedFiles)
        Note(PackageVerdict::Foreign, L"the folder holds " + std::to_wstring(files_) +
                                          L" files, the distribution's package " + std::to_wstring(shippedFiles) +
                                          L": " + folder);
}

void HeldPackage::Walk(const std::wstring& installed, const std::wstring& shipped, const std::wstring& relative) {
    const std::wstring here = JoinPath(installed, relative);
    std::vector<std::wstring> folders;
    const Result<> read = ForEachEntry(here, [&](const TreeEntry& entry) {
        const std::wstring name = JoinPath(relative, entry.name);
        if (entry.IsLink())
            Note(PackageVerdict::Unverified, L"a junction or symbolic link: " + JoinPath(installed, name));
        else if (entry.IsFolder())
            folders.push_back(name);
        else
            HoldFile(installed, shipped, name);
    });
    if (!read)
        Note(PackageVerdict::Unverified,
             L"a folder cannot be read: " + here + L": " + SystemErrorText(read.code()));
    for (const std::wstring& name : folders) {
        if (HoldFolder(JoinPath(installed, name))) Walk(installed, shipped, name);
    }
}

bool HeldPackage::HoldFolder(const std::wstring& path) {
    ScopedHandle folder = HoldFolderAgainstRenaming(path);
    if (!folder) {
        const DWORD code = GetLastError();
        Note(PackageVerdict::Unverified, L"a folder cannot be held: " + path + L": " + SystemErrorText(code));
        return false;
    }
    held_.push_back(std::move(folder));
    return true;
}

void HeldPackage::HoldFile(const std::wstring& installed, const std::wstring& shipped,
                           const std::wstring& relative) {
    const std::wstring path = JoinPath(installed, relative);
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        const DWORD code = GetLastError();
        Note(PackageVerdict::Unverified, L"a file cannot be held: " + path + L": " + SystemErrorText(code));
        return;
    }
    ++files_;
    if (!SameBytes(file.get(), JoinPath(shipped, relative)))
        Note(PackageVerdict::Foreign, L"not the distribution's file: " + path);
    held_.push_back(std::move(file));
}

// The worst verdict stays, with the first reason given for it.
void HeldPackage::Note(PackageVerdict verdict, std::wstring reason) {
    if (verdict <= verdict_) return;
    verdict_ = verdict;
    reason_ = std::move(reason);
}
