#include "base/file_system.h"

#include <algorithm>

#include "base/error.h"
#include "base/handles.h"
#include "base/system_error.h"

namespace {

DWORD Attributes(std::wstring_view path) { return GetFileAttributesW(std::wstring(path).c_str()); }

[[noreturn]] void RaiseCreateError(std::wstring_view path, DWORD code) {
    throw Error(L"Cannot create file \"" + std::wstring(path) + L"\". " + SystemErrorText(code));
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
    std::wstring path = ModulePath();
    path.resize(path.rfind(L'\\') + 1);
    return path;
}

std::vector<unsigned char> ReadWholeFile(std::wstring_view path) {
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
    const std::wstring temp = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    {
        ScopedHandle file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) RaiseCreateError(target, GetLastError());
        const auto* bytes = static_cast<const unsigned char*>(data);
        size_t done = 0;
        DWORD code = ERROR_SUCCESS;
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
        if (code != ERROR_SUCCESS) {
            file.reset();
            DeleteFileW(temp.c_str());
            RaiseCreateError(target, code);
        }
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        RaiseCreateError(target, code);
    }
}
