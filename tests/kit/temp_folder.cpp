#include "tests/kit/temp_folder.h"

#include <windows.h>

#include <atomic>

#include "base/handles.h"
#include "base/strings.h"

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    for (;;) {
        path_ = WithTrailingBackslash(base) + L"vh" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(counter++) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

void EmptyFolder(const std::wstring& folder) {
    const std::wstring root = WithTrailingBackslash(folder);
    WIN32_FIND_DATAW fd;
    {
        ScopedFindHandle find(FindFirstFileW((root + L"*").c_str(), &fd));
        if (find) {
            do {
                const std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring path = root + name;
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(find.get(), &fd));
        }
    }
}

void RemoveTree(const std::wstring& folder) {
    const std::wstring root = WithTrailingBackslash(folder);
    EmptyFolder(root);
    SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
    // A program that has just ended may hold the folder as its current
    // folder a moment longer (its console goes last): retry for a while.
    for (int attempt = 0; !RemoveDirectoryW(root.c_str()) && attempt < 250; ++attempt) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_DIR_NOT_EMPTY) break;
        Sleep(20);
    }
}
