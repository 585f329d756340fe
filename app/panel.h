// Plain container windows of the main window: the page control, its pages,
// the button bars and the folder panel. A panel paints itself in the page
// colour, optionally with a frame, and passes its children's notifications
// (commands, colour requests) up to its parent, so the main window handles
// every control in one place.
#pragma once

#include <windows.h>

#include "app/geometry.h"

enum class PanelFrame { None, Rounded };

// Registers the "VhPanel" window class. Call once before creating panels.
void RegisterPanelClass(HINSTANCE instance);

// Creates a visible panel child of parent; brush fills its background.
// Raises Error when the window cannot be created.
HWND CreatePanel(HWND parent, const Bounds& bounds, int id, HBRUSH brush, PanelFrame frame);
