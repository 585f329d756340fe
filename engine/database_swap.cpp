#include "engine/database_swap.h"

#include <windows.h>

#include <utility>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/deployment_manifest.h"

namespace {

[[noreturn]] void RaiseCannotReplace(const std::wstring& live, DWORD code) {
    throw Error(L"Cannot create file \"" + live + L"\". " + SystemErrorText(code));
}

// The file the copy is written into before it takes the live name; removed
// on every way out unless it took that name.
class TemporaryCopy {
public:
    explicit TemporaryCopy(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryCopy() {
        hold_.reset();
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    // Makes the file new: whatever lies at its name (the leftover of a run
    // that died half-way, or a link some user put there) is removed, never
    // followed, and the file is created with CREATE_NEW. It stays held
    // against deletion and renaming, so nobody can put a link in its place
    // while the copy writes into it; the hold takes no data access, so the
    // copy opens it as usual.
    Result<> Create() {
        if (DeleteFileW(path_.c_str())) setup_log::Write(L"Database: a leftover copy removed: " + path_);
        hold_.reset(CreateFileW(path_.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!hold_) {
            const DWORD code = GetLastError();
            return Result<>::Failure(L"Database: the copy cannot be created new: " + path_, code);
        }
        return {};
    }
    // Lets the copy be moved: renaming needs what the hold refuses.
    void Unhold() { hold_.reset(); }

    const std::wstring& path() const { return path_; }
    void Placed() { path_.clear(); }

private:
    std::wstring path_;
    ScopedHandle hold_;
};

// Forces the copy's data out of the cache onto the disk. Any other program
// may read the fresh file meanwhile (a virus scanner does): the handle
// shares everything, and only a program that holds it against writing
// makes the flush fail.
Result<> Flush(const std::wstring& path) {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  0, nullptr));
    if (!file || !FlushFileBuffers(file.get())) {
        const DWORD code = GetLastError();
        return Result<>::Failure(L"Database: the copy cannot be written to the disk: " + path, code);
    }
    return {};
}

// A backup name that no file of folder carries yet.
std::wstring FreeBackupName(const std::wstring& folder, const LocalDateTime& now) {
    std::wstring name = DatabaseBackupName(now);
    for (int copy = 2; GetFileAttributesW(JoinPath(folder, name).c_str()) != INVALID_FILE_ATTRIBUTES; ++copy)
        name = DatabaseBackupName(now, copy);
    return name;
}

// Moves the old database to backup and the new copy to live in one call.
// A swap that stopped half-way (ReplaceFileW's documented partial outcomes)
// either changed nothing, or left the old database under its backup name
// and the live name empty: then the new copy takes the live name, or failing
// that the old database gets it back; failing both, the error names where
// the old database is.
void Swap(const std::wstring& live, const std::wstring& copy, const std::wstring& backup) {
    if (ReplaceFileHook(live.c_str(), copy.c_str(), backup.c_str(),
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr))
        return;
    const DWORD code = GetLastError();
    setup_log::WriteError(L"Database: the new copy cannot take the name " + live, code);
    if (FileExists(live)) RaiseCannotReplace(live, code);
    if (MoveFileExW(copy.c_str(), live.c_str(), MOVEFILE_WRITE_THROUGH)) {
        setup_log::Write(L"Database: the swap finished by moving the new copy to " + live);
        return;
    }
    const DWORD moveNewCode = GetLastError();
    setup_log::WriteError(L"Database: the new copy cannot be moved to " + live, moveNewCode);
    if (MoveFileExW(backup.c_str(), live.c_str(), MOVEFILE_WRITE_THROUGH)) {
        setup_log::Write(L"Database: the old database has its name back: " + live);
        RaiseCannotReplace(live, code);
    }
    const DWORD moveCode = GetLastError();
    setup_log::WriteError(L"Database: the old database stays under the name " + backup, moveCode);
    throw Error(L"Cannot create file \"" + live + L"\". " + SystemErrorText(code) +
                L".\r\nПрежняя база данных сохранена в файле " + backup);
}

}  // namespace

void CheckDatabaseReplaceable(std::wstring_view live) {
    const std::wstring path(live);
    if (!FileExists(path)) return;
    // Write and delete access, refused for a read-only database and while
    // another program holds it against writing or deletion (the database
    // server does), not for a reader that lets both happen (a virus
    // scanner): the swap succeeds then.
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  0, nullptr));
    if (!file) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Database: the database in place cannot be replaced: " + path, code);
        RaiseCannotReplace(path, code);
    }
}

std::wstring NewestDatabaseBackup(std::wstring_view live) {
    const std::wstring pattern = std::wstring(live) + L".*.bak";
    std::wstring newest;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW(pattern.c_str(), &entry));
    if (!find) return newest;
    do {
        // The names carry their time as YYYYMMDD-HHMMSS: the greatest is the newest.
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && newest < entry.cFileName)
            newest = entry.cFileName;
    } while (FindNextFileW(find.get(), &entry));
    return newest;
}

std::wstring DatabaseCopyInProgress(std::wstring_view live) {
    return std::wstring(live) + L".~new.tmp";
}

DatabaseSwap ReplaceDatabase(std::wstring_view source, std::wstring_view live, const LocalDateTime& now,
                             FileCopy copy) {
    const std::wstring target(live);
    TemporaryCopy temporary(DatabaseCopyInProgress(target));
    if (Result<> created = temporary.Create(); !created) return {std::move(created), L""};
    if (Result<> copied = copy(source, temporary.path()); !copied) return {std::move(copied), L""};
    if (Result<> flushed = Flush(temporary.path()); !flushed) return {std::move(flushed), L""};
    temporary.Unhold();
    DatabaseSwap swap;
    if (FileExists(target)) {
        const std::wstring folder = FolderOf(target);
        swap.backupName = FreeBackupName(folder, now);
        Swap(target, temporary.path(), JoinPath(folder, swap.backupName));
    } else if (!MoveFileExW(temporary.path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Database: the new copy cannot take the name " + target, code);
        RaiseCannotReplace(target, code);
    }
    temporary.Placed();
    setup_log::Write(L"Database: " + target + L" replaced by the package's copy" +
                     (swap.backupName.empty() ? L"" : L"; the old one is kept as " + swap.backupName));
    return swap;
}
