#include "app/folder_check.h"

#include "base/strings.h"

FolderCheck CheckInstallFolder(std::wstring_view field) {
    const std::wstring trimmed = TrimControl(field);
    if (trimmed.empty()) return {FolderVerdict::Empty, trimmed};
    std::wstring path = WithTrailingBackslash(trimmed);
    const FolderVerdict verdict = path.size() <= 3 ? FolderVerdict::RootOnly : FolderVerdict::Accepted;
    return {verdict, std::move(path)};
}
