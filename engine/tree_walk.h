// The rules of the installer's tree copy, shared by the copy itself and by
// the space it is reckoned to need: hidden and system subfolders are left
// out, junctions and symbolic links are never entered. Other reparse points
// (cloud placeholders, deduplicated or compressed files) are ordinary files
// and folders.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/strings.h"

inline bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline bool IsHiddenOrSystem(DWORD attributes) {
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// A junction, a symbolic link or another reparse point whose tag says it
// names another place (IsReparseTagNameSurrogate); also one whose tag the
// system does not give (0, as Wine reports its links). A cloud placeholder
// or a deduplicated file is not a link.
inline bool IsLink(DWORD attributes, DWORD reparseTag) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
}

// One entry of a folder as the walk sees it.
struct TreeEntry {
    std::wstring_view name;
    DWORD attributes;
    DWORD reparseTag;  // only meaningful with FILE_ATTRIBUTE_REPARSE_POINT

    bool IsFolder() const { return ::IsFolder(attributes); }
    bool IsLink() const { return ::IsLink(attributes, reparseTag); }
};

// Whether path is a junction or a link by the rule above; false when it does
// not exist.
bool IsLinkAt(std::wstring_view path);

// Calls visit for every entry of folder except "." and "..". Succeeds when
// the folder was read to its end or does not exist; otherwise the failure is
// "Folder not read to its end: <folder>" with the code of the read that
// failed (the entries visited before it stand). The search is closed on every
// path.
Result<> ForEachEntry(std::wstring_view folder, const std::function<void(const TreeEntry&)>& visit);

// Calls visit(path relative to folder) for every file a tree copy of folder
// takes; folders that cannot be read add nothing.
template <typename Visit>
void ForEachTreeFile(const std::wstring& folder, const Visit& visit, const std::wstring& prefix = {}) {
    ForEachEntry(folder, [&](const TreeEntry& entry) {
        if (entry.IsLink()) return;
        const std::wstring relative = prefix + std::wstring(entry.name);
        if (!entry.IsFolder())
            visit(relative);
        else if (!IsHiddenOrSystem(entry.attributes))
            ForEachTreeFile(JoinPath(folder, entry.name), visit, relative + L"\\");
    });
}

// The directory search calls the walk makes: the system's, unless a test put
// in its own (to give entries reparse tags or make reads fail, which the
// test machine cannot produce).
using FindFirstFunction = HANDLE(WINAPI*)(LPCWSTR pattern, LPWIN32_FIND_DATAW entry);
using FindNextFunction = BOOL(WINAPI*)(HANDLE search, LPWIN32_FIND_DATAW entry);
extern FindFirstFunction FindFirstFileHook;
extern FindNextFunction FindNextFileHook;
