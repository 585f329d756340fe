// Reads the screen's state from the system for the screen manager.
#pragma once

#include "shared/ScreenMonitorManager.h"

// Monitors in EnumDisplayMonitors order with their effective DPI (per-monitor
// where the system has it, the screen's logical DPI otherwise), the primary
// work area and size, and the logical DPI. Never fails: a system that lists
// no monitor yields the primary screen as the only one.
ScreenSnapshot ReadScreenSnapshot();

// Shows cursor id over every window of the program (see screen_cursor.h).
void ApplyScreenCursor(int16_t cursor);
