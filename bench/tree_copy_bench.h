// The installation pass's peers on the same platform: the same folders
// copied by the platform's own xcopy and by a bare loop of CopyFileW, and
// by the installer's own tree copy alone.
#pragma once

#include <string>
#include <vector>

// Copies the folders (names relative to source, e.g. "DTAfb") with all their
// files and subfolders from source to destination (both ending in "\"), by
// method "copyfilew" (a loop of CreateDirectoryW and CopyFileW, nothing
// else), "xcopy" (one "xcopy /E /I /Q /Y" process per folder, started and
// waited for) or "copyfoldertree" (the installer's CopyFolderTree). Prints "tree_copy_seconds <s>" to stdout.
// Raises Error when a copy fails or the method is unknown.
void TimeTreeCopy(const std::wstring& method, const std::wstring& source, const std::wstring& destination,
                  const std::vector<std::wstring>& folders);
