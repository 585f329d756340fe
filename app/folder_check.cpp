#include "app/folder_check.h"

#include "base/strings.h"

namespace {

// A drive letter, ":" and "\", or a network path "\\server\share\".
bool IsFullPath(std::wstring_view path) {
    const bool driveLetter =
        path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    if (driveLetter && path[1] == L':' && path[2] == L'\\') return true;
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

}  // namespace

FolderCheck CheckInstallFolder(std::wstring_view field) {
    const std::wstring trimmed = TrimControl(field);
    if (trimmed.empty()) return {FolderVerdict::Empty, trimmed};
    std::wstring path = WithTrailingBackslash(trimmed);
    const FolderVerdict verdict = path.size() <= 3    ? FolderVerdict::RootOnly
                                  : !IsFullPath(path) ? FolderVerdict::Relative
                                                      : FolderVerdict::Accepted;
    return {verdict, std::move(path)};
}
