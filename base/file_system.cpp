#include "base/file_system.h"

#include <algorithm>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/result.h"
#include "base/strings.h"
#include "base/system_error.h"

ReplaceFileFunction ReplaceFileHook = ReplaceFileW;

namespace {

DWORD Attributes(std::wstring_view path) {
    return GetFileAttributesW(std::wstring(path).c_str());
}

[[noreturn]] void RaiseCreateError(std::wstring_view path, DWORD code) {
    throw Error(L"Cannot create file \"" + std::wstring(path) + L"\". " + SystemErrorText(code));
}

// What a rewritten file keeps of the file it replaces: its access list (a
// self-relative security descriptor, empty for a new file) and the
// attributes below. The temporary file gets them before it takes the file's
// place, so they hold whether or not the platform's ReplaceFileW carries
// them over (Wine's does not), and a file the clinic made writable for its
// users stays so.
struct KeptProperties {
    std::vector<unsigned char> accessList;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
};

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

KeptProperties PropertiesOf(const std::wstring& path) {
    KeptProperties kept;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return kept;
    if (attributes & kKeptAttributes) kept.attributes = attributes & kKeptAttributes;
    DWORD needed = 0;
    GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    kept.accessList.resize(needed);
    if (needed == 0 ||
        !GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, kept.accessList.data(), needed, &needed))
        kept.accessList.clear();
    return kept;
}

// Creates a file of its own beside target: CREATE_NEW, so whatever lies at
// a name already (a file, or a link some user of the PC put there to
// redirect the write) is never opened, and the next name is tried.
ScopedHandle CreateTemporaryFile(const std::wstring& target, DWORD attributes, std::wstring& temp) {
    const std::wstring stem = target + L".~" + std::to_wstring(GetCurrentProcessId());
    for (int attempt = 0;; ++attempt) {
        temp = stem + (attempt == 0 ? L"" : L"-" + std::to_wstring(attempt)) + L".tmp";
        ScopedHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS || attempt == 99) return file;
    }
}

// Writes data to a new temporary file beside target (its name in temp)
// with the kept properties and flushes it to disk. A failure removes the
// temporary file.
Result<> WriteTemporaryFile(const std::wstring& target, std::wstring& temp, const void* data, size_t size,
                            KeptProperties kept) {
    DWORD code = ERROR_SUCCESS;
    {
        ScopedHandle file = CreateTemporaryFile(target, kept.attributes, temp);
        if (!file) return Result<>::Failure(L"Cannot create a temporary file beside " + target, GetLastError());
        const auto* bytes = static_cast<const unsigned char*>(data);
        size_t done = 0;
        while (done < size && code == ERROR_SUCCESS) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
            DWORD written = 0;
            if (!WriteFile(file.get(), bytes + done, chunk, &written, nullptr))
                code = GetLastError();
            else if (written != chunk)
                code = ERROR_DISK_FULL;
            done += written;
        }
        if (code == ERROR_SUCCESS && !FlushFileBuffers(file.get())) code = GetLastError();
    }
    // Set after creation: a new file's access also passes through the
    // process's default permissions (on Wine, the umask).
    if (code == ERROR_SUCCESS && !kept.accessList.empty() &&
        !SetFileSecurityW(temp.c_str(), DACL_SECURITY_INFORMATION, kept.accessList.data()))
        code = GetLastError();
    if (code == ERROR_SUCCESS) return {};
    DeleteFileW(temp.c_str());
    return Result<>::Failure(L"Cannot write " + temp, code);
}

// Replaces the existing target with the written temporary file through
// ReplaceFileW, which also keeps the old file's creation time and streams.
Result<> ReplaceExisting(const std::wstring& temp, const std::wstring& target) {
    if (ReplaceFileHook(target.c_str(), temp.c_str(), nullptr, 0, nullptr, nullptr)) return {};
    const DWORD code = GetLastError();
    // Every partial outcome leaves either the old file under its name
    // (nothing changed) or nothing under it, the old file deleted or moved
    // to a name of the system's choosing and the new one still under its
    // temporary name: then the move is finished rather than leave the name
    // empty.
    if (!FileExists(target) && FileExists(temp) &&
        MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        return {};
    return Result<>::Failure(L"Cannot replace " + target, code);
}

}  // namespace

bool DirectoryExists(std::wstring_view path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(std::wstring_view path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring ModulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ModuleFolder() {
    return FolderOf(ModulePath());
}

namespace {

std::wstring FullPath(const std::wstring& path) {
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), length, full.data(), nullptr));
    return full;
}

}  // namespace

std::wstring NearestExistingFolder(std::wstring_view folder) {
    std::wstring path = WithoutTrailingBackslash(FullPath(std::wstring(folder)));
    while (!path.empty() && !DirectoryExists(path)) {
        std::wstring parent = FolderOf(path);
        if (parent.size() < 2 || parent == path) return {};
        path = std::move(parent);
    }
    return path;
}

bool SameFileName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

std::vector<unsigned char> ReadWholeFile(std::wstring_view path, unsigned long long limit) {
    const std::wstring name(path);
    ScopedHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot open file \"" + name + L"\". " + SystemErrorText(code));
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot read file \"" + name + L"\". " + SystemErrorText(code));
    }
    // Checked before anything is allocated, so a huge or hostile file gives
    // this error instead of ending the process for want of memory.
    if (static_cast<unsigned long long>(size.QuadPart) > limit)
        throw Error(L"Cannot read file \"" + name + L"\". The file is larger than " + std::to_wstring(limit) +
                    L" bytes");
    std::vector<unsigned char> data(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(file.get(), data.data() + done, chunk, &got, nullptr)) {
            const DWORD code = GetLastError();
            throw Error(L"Cannot read file \"" + name + L"\". " + SystemErrorText(code));
        }
        if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    data.resize(done);
    return data;
}

void WriteWholeFileAtomically(std::wstring_view path, const void* data, size_t size) {
    const std::wstring target(path);
    std::wstring temp;
    if (const Result<> written = WriteTemporaryFile(target, temp, data, size, PropertiesOf(target)); !written)
        RaiseCreateError(target, written.code());
    if (FileExists(target)) {
        const Result<> replaced = ReplaceExisting(temp, target);
        if (replaced) return;
        // Removed only while the old file still holds its place.
        if (FileExists(target)) DeleteFileW(temp.c_str());
        RaiseCreateError(target, replaced.code());
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        RaiseCreateError(target, code);
    }
}
