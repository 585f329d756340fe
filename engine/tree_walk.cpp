#include "engine/tree_walk.h"

#include <cwchar>

#include "base/handles.h"

FindFirstFunction FindFirstFileHook = FindFirstFileW;
FindNextFunction FindNextFileHook = FindNextFileW;

namespace {

bool IsDotEntry(const wchar_t* name) {
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

}  // namespace

bool IsLinkAt(std::wstring_view path) {
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileHook(std::wstring(path).c_str(), &entry));
    return find && IsLink(entry.dwFileAttributes, entry.dwReserved0);
}

Result<> ForEachEntry(std::wstring_view folder, const std::function<void(const TreeEntry&)>& visit) {
    const auto failure = [&](DWORD code) {
        return Result<>::Failure(L"Folder not read to its end: " + std::wstring(folder), code);
    };
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileHook(JoinPath(folder, L"*.*").c_str(), &entry));
    if (!find) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? Result<>() : failure(code);
    }
    do {
        if (!IsDotEntry(entry.cFileName))
            visit({std::wstring_view(entry.cFileName), entry.dwFileAttributes, entry.dwReserved0});
    } while (FindNextFileHook(find.get(), &entry));
    const DWORD code = GetLastError();
    return code == ERROR_NO_MORE_FILES ? Result<>() : failure(code);
}
