#include "shared/screen_snapshot.h"

#include <windows.h>

#include "base/callback_guard.h"
#include "base/handles.h"
#include "base/system_library.h"
#include "shared/screen_cursor.h"

namespace {

// GetDpiForMonitor exists from Windows 8.1 on; look it up at run time.
int MonitorDpi(HMONITOR monitor, int fallback) {
    static const auto get_dpi = []() -> HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*) {
        HMODULE shcore = LoadSystemLibrary(L"shcore.dll");
        if (!shcore) return nullptr;
        return reinterpret_cast<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
    }();
    UINT x = 0, y = 0;
    if (get_dpi && SUCCEEDED(get_dpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && x != 0)
        return static_cast<int>(x);
    return fallback;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    return GuardCallback<BOOL>(FALSE, [&]() -> BOOL {
        auto* snapshot = reinterpret_cast<ScreenSnapshot*>(param);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoW(monitor, &info)) {
            const RECT& r = info.rcMonitor;
            snapshot->monitors.push_back(
                {r.left, r.top, r.right - r.left, r.bottom - r.top, MonitorDpi(monitor, snapshot->pixelsPerInch)});
        }
        return TRUE;
    });
}

}  // namespace

ScreenSnapshot ReadScreenSnapshot() {
    ScreenSnapshot s;
    {
        ScopedGetDc screen(nullptr);
        s.pixelsPerInch = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    s.workAreaWidth = work.right - work.left;
    s.workAreaHeight = work.bottom - work.top;
    s.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    s.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    s.cursor = ScreenCursor();
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&s));
    if (s.monitors.empty()) s.monitors.push_back({0, 0, s.screenWidth, s.screenHeight, s.pixelsPerInch});
    return s;
}

void ApplyScreenCursor(int16_t cursor) {
    SetScreenCursor(cursor);
}
