// Reparse points and failing folder reads that the test machine cannot
// make, given by a stand-in for the tree walk's directory search while the
// object lives: entries whose names start with a listed prefix, and the
// entry at a listed full path (a key holding "\"; looked up itself or met
// in a listing of its folder), carry its reparse tag; a folder named
// "unreadable" cannot be listed.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/tree_walk.h"

// The tag of a cloud file's placeholder (IO_REPARSE_TAG_CLOUD_1).
inline constexpr DWORD kCloudFileTag = 0x9000101A;

class TaggedEntries {
public:
    using Tags = std::vector<std::pair<std::wstring, DWORD>>;  // name prefix, reparse tag

    explicit TaggedEntries(Tags tags) {
        tags_ = std::move(tags);
        FindFirstFileHook = FindFirst;
        FindNextFileHook = FindNext;
    }
    ~TaggedEntries() {
        FindFirstFileHook = FindFirstFileW;
        FindNextFileHook = FindNextFileW;
        tags_.clear();
        folders_.clear();
    }
    TaggedEntries(const TaggedEntries&) = delete;
    TaggedEntries& operator=(const TaggedEntries&) = delete;

private:
    static inline Tags tags_;
    // The folder each open search lists, by its handle.
    static inline std::map<HANDLE, std::wstring> folders_;

    // The folder a search lists ("<folder>\*.*" or "<folder>\*"), with its
    // "\"; empty for a search of one path.
    static std::wstring ListedFolder(const std::wstring& pattern) {
        const size_t slash = pattern.rfind(L'\\');
        if (slash == std::wstring::npos || pattern.find(L'*', slash) == std::wstring::npos) return L"";
        return pattern.substr(0, slash + 1);
    }
    static void Tag(const std::wstring& pattern, HANDLE search, WIN32_FIND_DATAW* entry) {
        const std::wstring name = entry->cFileName;
        const std::wstring& folder = folders_[search];
        for (const auto& [key, tag] : tags_) {
            const bool full = key.find(L'\\') != std::wstring::npos;
            if (full ? key != pattern && (folder.empty() || key != folder + name) : name.rfind(key, 0) != 0)
                continue;
            entry->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
            entry->dwReserved0 = tag;
        }
    }
    static HANDLE WINAPI FindFirst(LPCWSTR pattern, LPWIN32_FIND_DATAW entry) {
        if (std::wstring(pattern).find(L"\\unreadable\\") != std::wstring::npos) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        const HANDLE search = FindFirstFileW(pattern, entry);
        if (search == INVALID_HANDLE_VALUE) return search;
        folders_[search] = ListedFolder(pattern);
        Tag(pattern, search, entry);
        return search;
    }
    static BOOL WINAPI FindNext(HANDLE search, LPWIN32_FIND_DATAW entry) {
        if (!FindNextFileW(search, entry)) return FALSE;
        Tag(L"", search, entry);
        return TRUE;
    }
};
