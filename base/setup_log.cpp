#include "base/setup_log.h"

#include <cstdio>
#include <mutex>

#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"

namespace setup_log {
namespace {

std::mutex guard;
ScopedHandle file;
std::wstring path;

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return length > 0 && length <= MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

std::wstring FileName(const SYSTEMTIME& t) {
    wchar_t name[64];
    swprintf(name, 64, L"VelmoraSetup %04u-%02u-%02u %02u-%02u-%02u.log", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond);
    return name;
}

// A failed write closes the log, so no torn lines follow.
void WriteBytes(const std::string& bytes) {
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        file.reset();
}

// Makes the missing folders on the way to file, a full path (C:\... or
// \\server\share\...); the file's own open tells when one could not be made.
void CreateParentFolders(const std::wstring& file) {
    size_t from = 3;
    if (file.starts_with(L"\\\\")) {
        // Past the server and the share, which no one creates.
        const size_t server = file.find(L'\\', 2);
        from = server == std::wstring::npos ? file.size() : file.find(L'\\', server + 1);
        if (from == std::wstring::npos) return;
        ++from;
    }
    for (size_t end = file.find(L'\\', from); end != std::wstring::npos; end = file.find(L'\\', end + 1))
        CreateDirectoryW(file.substr(0, end).c_str(), nullptr);
}

}  // namespace

bool Open(std::wstring_view folder) {
    std::lock_guard lock(guard);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring base = folder.empty() ? TempFolder() : std::wstring(folder);
    if (base.empty()) return false;
    std::wstring target = JoinPath(base, FileName(now));
    // CREATE_NEW: two runs started within one second keep separate logs.
    ScopedHandle opened(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    for (int copy = 2; !opened && GetLastError() == ERROR_FILE_EXISTS && copy < 100; ++copy) {
        std::wstring numbered = target.substr(0, target.size() - 4) + L" (" + std::to_wstring(copy) + L").log";
        opened = ScopedHandle(CreateFileW(numbered.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (opened) target = std::move(numbered);
    }
    if (!opened) return false;
    file = std::move(opened);
    path = target;
    WriteBytes("\xEF\xBB\xBF");
    return static_cast<bool>(file);
}

Result<> OpenFile(std::wstring_view filePath) {
    std::lock_guard lock(guard);
    const std::wstring target(filePath);
    const std::wstring action = L"Log file not opened: " + target;
    CreateParentFolders(target);
    ScopedHandle opened(CreateFileW(target.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened) return Result<>::Failure(action, GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(opened.get(), &size)) return Result<>::Failure(action, GetLastError());
    file = std::move(opened);
    path = target;
    if (size.QuadPart == 0) WriteBytes("\xEF\xBB\xBF");
    return {};
}

std::wstring Path() {
    std::lock_guard lock(guard);
    return file ? path : std::wstring();
}

void Write(std::wstring_view event) {
    std::lock_guard lock(guard);
    if (!file) return;
    SYSTEMTIME t;
    GetLocalTime(&t);
    char stamp[32];
    snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u  ", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond, t.wMilliseconds);
    // One event is one line: line breaks inside it are shown, not obeyed.
    std::wstring flat;
    flat.reserve(event.size());
    for (wchar_t c : event) flat += (c == L'\r' || c == L'\n') ? L' ' : c;
    WriteBytes(stamp + ToUtf8(flat) + "\r\n");
}

void WriteError(std::wstring_view event, DWORD code) {
    Write(std::wstring(event) + L": error " + std::to_wstring(code) + L": " + SystemErrorText(code));
}

void WriteFailure(const Result<>& failure) {
    if (failure.code() == 0)
        Write(failure.action());
    else
        WriteError(failure.action(), failure.code());
}

void Close() {
    std::lock_guard lock(guard);
    file.reset();
}

}  // namespace setup_log
