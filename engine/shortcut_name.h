// The file name of a shortcut, formed from its link name or its target.
// Windows-free.
#pragma once

#include <string>
#include <string_view>

// linkName when given, otherwise target, with its extension replaced by
// ".lnk" (from the last "." of the last path component on; a name without
// one gets ".lnk" appended), then reduced to its last path component ("\",
// "/" and ":" separate components). "Tool 2.5" gives "Tool 2.lnk",
// "C:\Holter\Shell.exe" gives "Shell.lnk". Never fails.
std::wstring ShortcutFileName(std::wstring_view linkName, std::wstring_view target);
