// The launch-progress window's fixed rules: its title per message type, the
// steps of its bar, its size and its place. Windows-free.
#pragma once

#include <cstdint>
#include <string>

// The bar runs from 0 to this many steps.
constexpr int kWaitRunSteps = 25;
// The window's sizes are designed at this resolution and scaled to the screen's.
constexpr int kWaitRunDesignDpi = 144;

// The title for typemessage: 2 and 3 name the data step, 4 is empty, every
// other value reads "Launching ".
std::wstring WaitRunTitle(uint8_t typemessage);

// The bar position after one more step from position: one further, and
// after the last step the bar starts over with the first (25 → 1).
int NextProgressPosition(int position);

// A size of the design (client 471 x 59, bar 30 high, font 20 pixels)
// scaled to dpi, rounded.
int ScaleFromWaitRunDesign(int pixels, int dpi);

struct WaitRunPlace {
    int left, top;
};

// Centres a window of that outer size on the monitor: across by the halved
// difference, down by the halved absolute difference (a window taller than
// the monitor starts below its top). Halves drop their fraction.
WaitRunPlace PlaceWaitRun(int monitorLeft, int monitorTop, int monitorWidth, int monitorHeight, int windowWidth,
                          int windowHeight);
