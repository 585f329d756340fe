// A list box that scrolls sideways as far as its widest line, so every
// line can be read whole however narrow the list is.
#pragma once

#include <windows.h>

#include <string_view>

// Widens the list's horizontal extent (LB_SETHORIZONTALEXTENT) to line's
// width in the list's own font, plus a character's room after it, when
// line is wider than any line before; never narrows it. The list scrolls
// sideways only while its extent is wider than its client area. Never
// fails.
void WidenListToLine(HWND list, std::wstring_view line);

// Forgets every line: the list no longer scrolls sideways.
void ResetListWidth(HWND list);
