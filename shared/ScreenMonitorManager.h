// The screen and monitor manager shared by the package's programs: one
// object, myScreen, that remembers which monitor the windows work on and how
// large it is. Windows-free: the monitor list comes in as a snapshot, taken
// from the system by ReadScreenSnapshot (screen_snapshot.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct TMonitor {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int PixelsPerInch = 96;  // effective DPI of this monitor
};

// What the screen looks like at one moment.
struct ScreenSnapshot {
    std::vector<TMonitor> monitors;  // in the system's enumeration order
    int workAreaWidth = 0;           // primary monitor without the task bar
    int workAreaHeight = 0;
    int screenWidth = 0;  // primary monitor
    int screenHeight = 0;
    int pixelsPerInch = 96;  // the screen's logical DPI
    int16_t cursor = 0;      // the program's current screen cursor
};

// Cursor ids of the program-wide screen cursor.
constexpr int16_t crDefault = 0;
constexpr int16_t crHourGlass = -11;

class TmyScreen {
public:
    // Records the state of the screen. setCursor applies a screen cursor and
    // may throw; the Cursor property swallows that.
    TmyScreen(ScreenSnapshot screen, std::function<void(int16_t)> setCursor);

    int16_t FCursor = 0;
    int MonitorCount = 0;
    int Width = 0;
    int Height = 0;
    int WorkAreaWidth = 0;
    int WorkAreaHeight = 0;
    int Monitornumber = 0;
    int PixelsPerInch = 96;
    double ScaleKoef = 0.0;

    int16_t Cursor() const { return FCursor; }
    // Stores the value, then makes it the cursor shown over every window of
    // the program. A failure to show it is swallowed; the value stays stored.
    void SetCursor(int16_t value);

    // The monitor with that index in the snapshot; index must be valid.
    const TMonitor& GetMonitor(int index) const;

private:
    ScreenSnapshot FScreen;
    std::function<void(int16_t)> setCursor_;
};

// The one manager of the program; created by the program entry and owned
// here until the program ends.
extern std::unique_ptr<TmyScreen> myScreen;

// Selects monitor MonitorNum of myScreen (falling back to 0 when there is no
// such monitor) and takes its full size and scale.
void SelectMonitor(uint8_t MonitorNum);
