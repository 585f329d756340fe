// The program-wide screen cursor: while it is not crDefault, every window of
// the program shows it instead of its own cursor (the hourglass of a long
// step). Windows answer WM_SETCURSOR through ApplyCursorForWindow.
#pragma once

#include <windows.h>

#include <cstdint>

int16_t ScreenCursor();

// Sets the screen cursor and shows it at once.
void SetScreenCursor(int16_t cursor);

// For WM_SETCURSOR: shows the screen cursor and returns true when one is set;
// false means the window should let DefWindowProc choose.
bool ApplyCursorForWindow();
