// The countdown of the message window: its stop period and the seconds it
// shows. Windows-free, so the arithmetic is tested with given clock values.
#pragma once

#include <cstdint>
#include <string>

// The stop period when the caller passes Seconds 0.
constexpr unsigned kDefaultStopPeriodMs = 20000;
// The largest Seconds whose period in milliseconds still fits a timer.
constexpr int kMaxMessageSeconds = 2147483;

// What the countdown label reads before the first tick.
inline constexpr wchar_t kCountdownBeforeFirstTick[] = L"  сек";

// The stop period for Seconds: the default for 0, else Seconds * 1000 ms.
// Raises Error ("Invalid timer period: <Seconds> s") for Seconds below 0 or
// above kMaxMessageSeconds.
unsigned StopPeriodMs(int Seconds);

// Whole seconds left: the period's whole seconds minus the time elapsed since
// the window was shown, rounded to the nearest integer with halves going to
// the even one. Negative once the period has passed.
int RemainingSeconds(unsigned stopPeriodMs, int64_t elapsedMs);

// The countdown label for that many seconds: two blanks, the number, "с".
std::wstring CountdownCaption(int remaining);
