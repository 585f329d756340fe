// The rules of the folder field on the folder page. Windows-free.
#pragma once

#include <string>
#include <string_view>

enum class FolderVerdict {
    Empty,     // nothing but blanks: "no folder chosen"
    RootOnly,  // at most three characters with the "\": a drive root
    Relative,  // neither "X:\..." nor "\\server\share\...": it would follow the current folder
    Accepted,
};

struct FolderCheck {
    FolderVerdict verdict;
    // The field's new text: trimmed, with one trailing "\" (unchanged
    // trimmed text when the field was empty).
    std::wstring path;
};

// Trims characters up to U+0020 from both ends, appends "\" when missing and
// classifies the result, in the order of the verdicts above. Never fails.
FolderCheck CheckInstallFolder(std::wstring_view field);
