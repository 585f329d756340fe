// Reparse points and failing folder reads that the test machine cannot
// make, given by a stand-in for the tree walk's directory search while the
// object lives: entries whose names start with a listed prefix, and the
// entry at a listed full path (a key holding "\"), carry its reparse tag;
// a folder named "unreadable" cannot be listed.
#pragma once

#include <windows.h>

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
    }
    TaggedEntries(const TaggedEntries&) = delete;
    TaggedEntries& operator=(const TaggedEntries&) = delete;

private:
    static inline Tags tags_;

    static void Tag(const std::wstring& pattern, WIN32_FIND_DATAW* entry) {
        const std::wstring name = entry->cFileName;
        for (const auto& [key, tag] : tags_) {
            if (key.find(L'\\') != std::wstring::npos ? key != pattern : name.rfind(key, 0) != 0) continue;
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
        if (search != INVALID_HANDLE_VALUE) Tag(pattern, entry);
        return search;
    }
    static BOOL WINAPI FindNext(HANDLE search, LPWIN32_FIND_DATAW entry) {
        if (!FindNextFileW(search, entry)) return FALSE;
        Tag(L"", entry);
        return TRUE;
    }
};
