// The install folder and its folders stay what the preflight checked: no
// junction or symbolic link among them. Any user of the PC may rename such
// a folder and put a link in its place while the pass runs (the install
// folder normally lies under the system drive's root, which lets every
// user do that), and a write through the link would carry an
// administrator's rights to wherever it points.
#pragma once

#include <string_view>
#include <vector>

#include "base/handles.h"

// Raises Error "Cannot create file "<target>". <path> is a junction or
// symbolic link" when installFolder, a folder between it and target, or
// target itself is a junction or symbolic link now. Called right before each
// write that comes after the pass has begun, so such a write never follows a
// link.
void RefuseLinkOnTheWay(std::wstring_view installFolder, std::wstring_view target);

// Opens folder (a link itself, never what it names) held against renaming and
// deletion while the handle lives; empty on failure, with GetLastError()
// telling why.
ScopedHandle HoldFolderAgainstRenaming(const std::wstring& folder);

// Folders held open against renaming and deletion until the holder ends,
// so that they cannot be swapped for links meanwhile. Windows enforces
// this; Wine does not, which is why the writes also check.
class HeldFolders {
public:
    // Holds folder; a folder that cannot be opened (missing, or not a folder)
    // is noted in the setup log.
    void Hold(std::wstring_view folder);

private:
    std::vector<ScopedHandle> held_;
};
