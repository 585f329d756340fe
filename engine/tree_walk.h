// The rules of the installer's tree copy, shared by the copy itself and by
// the space it is reckoned to need: hidden and system subfolders are left
// out, junctions and symbolic links are never entered.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>
#include <string_view>

#include "base/handles.h"

inline bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline bool IsHiddenOrSystem(DWORD attributes) {
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// Junctions and symbolic links lead out of the tree they sit in.
inline bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

inline bool IsDotEntry(const wchar_t* name) {
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

// Calls visit(name, attributes) for every entry of folder (no trailing "\")
// except "." and "..". The search is closed on every path.
template <typename Visit>
void ForEachEntry(std::wstring_view folder, Visit visit) {
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((std::wstring(folder) + L"\\*.*").c_str(), &entry));
    if (!find) return;
    do {
        if (!IsDotEntry(entry.cFileName)) visit(std::wstring_view(entry.cFileName), entry.dwFileAttributes);
    } while (FindNextFileW(find.get(), &entry));
}

// Calls visit(path relative to folder) for every file a tree copy of folder
// (no trailing "\") takes.
template <typename Visit>
void ForEachTreeFile(const std::wstring& folder, const Visit& visit, const std::wstring& prefix = {}) {
    ForEachEntry(folder, [&](std::wstring_view name, DWORD attributes) {
        if (IsLink(attributes)) return;
        const std::wstring relative = prefix + std::wstring(name);
        if (!IsFolder(attributes))
            visit(relative);
        else if (!IsHiddenOrSystem(attributes))
            ForEachTreeFile(folder + L"\\" + std::wstring(name), visit, relative + L"\\");
    });
}
