#include "shared/screen_cursor.h"

#include "shared/ScreenMonitorManager.h"

namespace {

int16_t g_cursor = crDefault;

HCURSOR CursorFor(int16_t cursor) {
    return LoadCursorW(nullptr, cursor == crHourGlass ? IDC_WAIT : IDC_ARROW);
}

}  // namespace

int16_t ScreenCursor() {
    return g_cursor;
}

void SetScreenCursor(int16_t cursor) {
    g_cursor = cursor;
    ::SetCursor(CursorFor(cursor));
    // Make the pointer change visible now, not at the next mouse move.
    POINT p;
    if (GetCursorPos(&p)) SetCursorPos(p.x, p.y);
}

bool ApplyCursorForWindow() {
    if (g_cursor == crDefault) return false;
    ::SetCursor(CursorFor(g_cursor));
    return true;
}
