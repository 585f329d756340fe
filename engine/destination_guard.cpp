#include "engine/destination_guard.h"

#include <windows.h>

#include <string>

#include "base/error.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/tree_walk.h"

void RefuseLinkOnTheWay(std::wstring_view installFolder, std::wstring_view target) {
    std::wstring folder(installFolder);
    const std::wstring path(target);
    // The folders from the install folder down, then the file itself: a
    // link at its name would be read and rewritten in another place.
    for (size_t next = folder.size();;) {
        if (IsLinkAt(folder))
            throw Error(L"Cannot create file \"" + path + L"\". " + folder + L" is a junction or symbolic link");
        if (folder.size() == path.size()) return;
        next = path.find(L'\\', next + 1);
        folder = path.substr(0, next);
    }
}

ScopedHandle HoldFolderAgainstRenaming(const std::wstring& folder) {
    // Shared for reading and writing, so work inside it goes on as before
    // (files in it can still be held); not for deletion, which renaming
    // needs.
    return ScopedHandle(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

void HeldFolders::Hold(std::wstring_view folder) {
    const std::wstring path(folder);
    ScopedHandle held = HoldFolderAgainstRenaming(path);
    if (!held) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Folder not held against renaming: " + path, code);
        return;
    }
    held_.push_back(std::move(held));
}
