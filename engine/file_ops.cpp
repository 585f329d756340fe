#include "engine/file_ops.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/tree_walk.h"

namespace {

constexpr DWORD kCopyBlock = 1 << 20;
constexpr DWORD kWritePiece = kCopyBlock / 4;

void LogLinkNotFollowed(const std::wstring& path) {
    setup_log::Write(L"Not followed (junction or symbolic link): " + path);
}

// Creates folder and every missing parent; failures show later, when files
// cannot be written into it.
void CreateWithParents(const std::wstring& folder) {
    if (folder.empty() || DirectoryExists(folder)) return;
    const size_t slash = folder.rfind(L'\\');
    if (slash != std::wstring::npos && slash > 0) CreateWithParents(folder.substr(0, slash));
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Folder not created: " + folder, code);
    }
}

// A destination file the platform refuses to replace because it is
// read-only or hidden keeps its old content: the package's updater marks
// files so on purpose.
bool IsKeptOnPurpose(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes) &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)) != 0;
}

// The names of the junctions and symbolic links in folder: a copy neither
// writes through them nor enters them. One look at the folder instead of
// one per file copied into it.
std::vector<std::wstring> LinksIn(std::wstring_view folder) {
    std::vector<std::wstring> links;
    ForEachEntry(folder, [&](const TreeEntry& entry) {
        if (entry.IsLink()) links.emplace_back(entry.name);
    });
    return links;
}

// Whether names holds name, compared as the file system compares names.
bool Contains(const std::vector<std::wstring>& names, std::wstring_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::wstring& other) { return SameFileName(other, name); });
}

// The files CopyFolderTree would copy from folder.
int CountFiles(const std::wstring& folder) {
    int count = 0;
    ForEachTreeFile(folder, [&](const std::wstring&) { ++count; });
    return count;
}

// The shell takes lists of paths, each ended by NUL, the list by one more,
// and a folder without its trailing "\" (one given with it is taken too).
std::wstring ShellPathList(std::wstring_view path) {
    std::wstring list = WithoutTrailingBackslash(path);
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

// The shell's operation takes paths shorter than MAX_PATH (Wine's even
// overruns its stack on longer ones).
bool ShellCanTake(const std::wstring& list) {
    return wcslen(list.c_str()) < MAX_PATH;
}

// Streams size bytes from source to destination. A failed call's code is
// taken at once. A read that brings fewer bytes than asked (the source
// shrank) fails with ERROR_HANDLE_EOF. A write that takes only part of a
// piece is followed by one for the rest, so that a disk running full fails
// with the system's own code; one that takes nothing fails with
// ERROR_WRITE_FAULT.
Result<> CopyBytes(HANDLE source, HANDLE destination, uint64_t size, const std::wstring& from,
                   const std::wstring& to) {
    std::vector<unsigned char> block(static_cast<size_t>(std::min<uint64_t>(size, kCopyBlock)));
    for (uint64_t left = size; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(left, kCopyBlock));
        DWORD moved = 0;
        if (!ReadFile(source, block.data(), chunk, &moved, nullptr)) {
            const DWORD code = GetLastError();
            return Result<>::Failure(L"Cannot read " + from, code);
        }
        if (moved != chunk) return Result<>::Failure(L"Cannot read " + from, ERROR_HANDLE_EOF);
        // Each block is written in quarters: large single writes stall on
        // some systems' page cache, while these keep pace with CopyFileW.
        for (DWORD done = 0; done < chunk; done += moved) {
            const DWORD piece = std::min<DWORD>(chunk - done, kWritePiece);
            if (!WriteFile(destination, block.data() + done, piece, &moved, nullptr)) {
                const DWORD code = GetLastError();
                return Result<>::Failure(L"Cannot write " + to, code);
            }
            if (moved == 0) return Result<>::Failure(L"Cannot write " + to, ERROR_WRITE_FAULT);
        }
        left -= chunk;
    }
    return {};
}

// Gives destination the last-write time of source in the DOS date-time form
// (two-second step), as other programs of the package compare it. Failures
// leave the destination's own time.
void CarryDosTime(HANDLE source, HANDLE destination) {
    FILETIME written, local;
    WORD dosDate = 0, dosTime = 0;
    if (!GetFileTime(source, nullptr, nullptr, &written) || !FileTimeToLocalFileTime(&written, &local) ||
        !FileTimeToDosDateTime(&local, &dosDate, &dosTime) || !DosDateTimeToFileTime(dosDate, dosTime, &local) ||
        !LocalFileTimeToFileTime(&local, &written))
        return;
    SetFileTime(destination, nullptr, nullptr, &written);
}

// What the shell's copy left out: each file of source whose copy in
// destination is missing or differs in size or last-write time goes into the
// setup log; returns how many.
int LogFilesNotCopied(const std::wstring& source, const std::wstring& destination) {
    int missing = 0;
    ForEachTreeFile(source, [&](const std::wstring& relative) {
        WIN32_FILE_ATTRIBUTE_DATA from{};
        WIN32_FILE_ATTRIBUTE_DATA to{};
        const std::wstring copy = JoinPath(destination, relative);
        const bool same = GetFileAttributesExW(JoinPath(source, relative).c_str(), GetFileExInfoStandard, &from) &&
                          GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &to) &&
                          from.nFileSizeHigh == to.nFileSizeHigh && from.nFileSizeLow == to.nFileSizeLow &&
                          CompareFileTime(&from.ftLastWriteTime, &to.ftLastWriteTime) == 0;
        if (same) return;
        setup_log::Write(L"Not copied by the shell: " + copy);
        ++missing;
    });
    return missing;
}

}  // namespace

void EnsureDirectory(std::wstring_view folder) {
    if (DirectoryExists(folder)) return;
    const std::wstring path(folder);
    if (!CreateDirectoryW(path.c_str(), nullptr)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Folder not created: " + path, code);
    }
}

void ListSubfolders(std::wstring_view folder, std::vector<std::wstring>& list) {
    const Result<> read = ForEachEntry(folder, [&](const TreeEntry& entry) {
        if (IsHiddenOrSystem(entry.attributes) || !entry.IsFolder() || entry.name == L"WithOutAnswer") return;
        if (entry.IsLink()) return LogLinkNotFollowed(JoinPath(folder, entry.name));
        list.push_back(JoinPath(folder, entry.name));
    });
    if (!read) setup_log::WriteFailure(read);
}

TreeCopy& TreeCopy::operator+=(const TreeCopy& other) {
    notCopied += other.notCopied;
    kept += other.kept;
    linksPassedOver += other.linksPassedOver;
    foldersUnread += other.foldersUnread;
    return *this;
}

namespace {

// An entry of a folder a tree copy takes, listed once: the files are copied
// first, then the subfolders.
struct ListedEntry {
    std::wstring name;
    DWORD attributes;
    bool link;
};

std::vector<ListedEntry> ListEntries(std::wstring_view source, TreeCopy& result) {
    std::vector<ListedEntry> entries;
    const Result<> read = ForEachEntry(source, [&](const TreeEntry& entry) {
        entries.push_back({std::wstring(entry.name), entry.attributes, entry.IsLink()});
    });
    if (!read) {
        setup_log::WriteFailure(read);
        ++result.foldersUnread;
    }
    return entries;
}

// Copies one file of a tree over whatever is at target; a read-only or
// hidden file there that refuses is kept.
TreeFileOutcome CopyTreeFile(const std::wstring& file, const std::wstring& target, TreeCopy& result) {
    if (CopyFileW(file.c_str(), target.c_str(), FALSE)) return TreeFileOutcome::Copied;
    const DWORD code = GetLastError();
    if (IsKeptOnPurpose(GetFileAttributesW(target.c_str()))) {
        setup_log::WriteError(L"Kept (read-only or hidden): " + target, code);
        ++result.kept;
        return TreeFileOutcome::Kept;
    }
    setup_log::WriteError(L"Not copied: " + file + L" -> " + target, code);
    ++result.notCopied;
    return TreeFileOutcome::NotCopied;
}

}  // namespace

TreeCopy CopyFolderTree(std::wstring_view source, std::wstring_view destination, const TreeFileSink& onFile) {
    if (destination.empty()) throw Error(L"Unable to create directory");
    if (!DirectoryExists(destination)) CreateWithParents(std::wstring(destination));

    TreeCopy result;
    const std::vector<ListedEntry> entries = ListEntries(source, result);
    const std::vector<std::wstring> linksThere = LinksIn(destination);
    const auto tell = [&](const std::wstring& file, const std::wstring& target, TreeFileOutcome outcome) {
        if (onFile) onFile(file, target, outcome);
    };
    const auto passOver = [&](const std::wstring& link) {
        LogLinkNotFollowed(link);
        ++result.linksPassedOver;
    };
    for (const ListedEntry& entry : entries) {
        if (IsFolder(entry.attributes)) continue;
        const std::wstring file = JoinPath(source, entry.name);
        const std::wstring target = JoinPath(destination, entry.name);
        if (entry.link) {
            passOver(file);
            tell(file, target, TreeFileOutcome::PassedOver);
            continue;
        }
        if (Contains(linksThere, entry.name)) {
            passOver(target);
            ++result.notCopied;
            tell(file, target, TreeFileOutcome::PassedOver);
            continue;
        }
        tell(file, target, CopyTreeFile(file, target, result));
    }
    for (const ListedEntry& entry : entries) {
        if (!IsFolder(entry.attributes) || IsHiddenOrSystem(entry.attributes)) continue;
        const std::wstring folder = JoinPath(source, entry.name);
        const std::wstring target = JoinPath(destination, entry.name);
        if (entry.link) {
            passOver(folder);
            tell(folder, target, TreeFileOutcome::PassedOver);
        } else if (Contains(linksThere, entry.name)) {
            passOver(target);
            result.notCopied += CountFiles(folder);
            tell(folder, target, TreeFileOutcome::PassedOver);
        } else {
            result += CopyFolderTree(folder, target, onFile);
        }
    }
    return result;
}

Result<> CopyFileWithDate(std::wstring_view source, std::wstring_view destination) {
    const std::wstring from(source);
    const std::wstring to(destination);
    ScopedHandle input(CreateFileW(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!input) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot open file \"" + from + L"\". " + SystemErrorText(code));
    }
    ScopedHandle output(CreateFileW(to.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot create file \"" + to + L"\". " + SystemErrorText(code));
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(input.get(), &size)) {
        const DWORD code = GetLastError();
        return Result<>::Failure(L"Cannot read the size of " + from, code);
    }
    Result<> copied = CopyBytes(input.get(), output.get(), size.QuadPart, from, to);
    if (copied) CarryDosTime(input.get(), output.get());
    return copied;
}

void SetReadOnly(std::wstring_view file, bool readOnly) {
    const std::wstring path(file);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Read-only attribute not changed: " + path, code);
        return;
    }
    const DWORD changed = readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                   : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (!SetFileAttributesW(path.c_str(), changed)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Read-only attribute not changed: " + path, code);
    }
}

Result<> ShellCopyFolder(std::wstring_view source, std::wstring_view destination, ShellCopyUi ui) {
    const std::wstring from = ShellPathList(source);
    const std::wstring to = ShellPathList(destination);
    const std::wstring sourceFolder = from.substr(0, from.size() - 2);
    const std::wstring destinationFolder = to.substr(0, to.size() - 2);
    const std::wstring action = L"Shell copy of " + sourceFolder + L" to " + destinationFolder;
    // A folder copied onto an existing folder lands inside it (a re-run
    // would make destination\name\name): into an existing folder the
    // source's content is copied instead, merging with what is there.
    const std::wstring content =
        DirectoryExists(destinationFolder) ? ShellPathList(JoinPath(sourceFolder, L"*")) : std::wstring();
    const std::wstring& pick = content.empty() ? from : content;
    if (!ShellCanTake(pick) || !ShellCanTake(to)) return Result<>::Failure(action, ERROR_FILENAME_EXCED_RANGE);
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_COPY;
    operation.pFrom = pick.c_str();
    operation.pTo = to.c_str();
    // Shown: no flag, so the shell shows its own progress, questions and
    // errors, and lets the user cancel. FOF_FILESONLY would change nothing on
    // Windows for the folder itself, but Wine's shell then leaves the
    // subfolders out, and the installation record would find the driver's
    // files missing. None: every question is answered Yes (replace a file,
    // merge a folder, make a missing folder) and nothing is shown.
    operation.fFlags =
        ui == ShellCopyUi::None ? FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_NOCONFIRMMKDIR : 0;
    // The shell answers with codes of its own, not the system's: the log
    // shows the number without a system text.
    const int code = SHFileOperationW(&operation);
    const int notCopied = LogFilesNotCopied(sourceFolder, destinationFolder);
    if (code != 0) return Result<>::Failure(action + L": the shell's code " + std::to_wstring(code), 0);
    // A cancel can still return 0: the aborted flag tells it.
    if (operation.fAnyOperationsAborted) return Result<>::Failure(action, ERROR_CANCELLED);
    if (notCopied > 0) return Result<>::Failure(action + L": files not copied: " + std::to_wstring(notCopied), 0);
    return {};
}
