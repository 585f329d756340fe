// The side panel's text at the same pixel size on every screen.
#pragma once

#include <windows.h>

// The side panel's document gives its sizes in points and twips, which a
// rich-text box turns into more pixels at higher logical resolutions, while
// the panel itself keeps its pixel size. Rescales every character size,
// paragraph spacing and indent of the loaded document by 96 / (the box's
// logical pixels per inch), so the document lays out as at 96 dots per
// inch: the same line breaks and height at 100, 125, 150 and 200 %.
// (The box's own zoom would do this on Windows, but Wine's rich edit shrinks
// only the glyphs there and keeps the wider line layout.)
// Does nothing at 96. Never fails; an unreadable resolution counts as 96.
void KeepTextAtDesignSize(HWND richEdit);
