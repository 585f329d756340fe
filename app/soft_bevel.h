// A soft bevel around a control that has no border of its own: a 2-pixel
// etched edge in the window's non-client area, as the side panel wears it.
#pragma once

#include <windows.h>

// Gives hwnd the bevel for the rest of its life: its client area shrinks by
// the bevel on every side. Raises Error when the window cannot be subclassed.
void GiveSoftBevel(HWND hwnd);
