#include "shared/ScreenMonitorManager.h"

#include <thread>

std::unique_ptr<TmyScreen> myScreen;

TmyScreen::TmyScreen(ScreenSnapshot screen, std::function<void(int16_t)> setCursor)
    : FCursor(screen.cursor),
      MonitorCount(static_cast<int>(screen.monitors.size())),
      Width(screen.screenWidth),
      Height(screen.screenHeight),
      WorkAreaWidth(screen.workAreaWidth),
      WorkAreaHeight(screen.workAreaHeight),
      PixelsPerInch(screen.pixelsPerInch),
      FScreen(std::move(screen)),
      setCursor_(std::move(setCursor)) {}

void TmyScreen::SetCursor(int16_t value) {
    FCursor = value;
    try {
        if (setCursor_) setCursor_(value);
    } catch (...) {
        std::this_thread::yield();
    }
}

const TMonitor& TmyScreen::GetMonitor(int index) const {
    return FScreen.monitors.at(static_cast<size_t>(index));
}

void SelectMonitor(uint8_t MonitorNum) {
    TmyScreen& s = *myScreen;
    const int count = static_cast<int>(s.MonitorCount);
    s.Monitornumber = MonitorNum <= count - 1 ? MonitorNum : 0;
    const TMonitor& m = s.GetMonitor(s.Monitornumber);
    s.WorkAreaWidth = m.Width;
    s.WorkAreaHeight = m.Height;
    s.Width = m.Width;
    s.Height = m.Height;
    s.ScaleKoef = m.PixelsPerInch / 96.0;
}
