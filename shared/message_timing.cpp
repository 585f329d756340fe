#include "shared/message_timing.h"

#include <cmath>

#include "base/error.h"

unsigned StopPeriodMs(int Seconds) {
    if (Seconds < 0 || Seconds > kMaxMessageSeconds)
        throw Error(L"Invalid timer period: " + std::to_wstring(Seconds) + L" s");
    return Seconds == 0 ? kDefaultStopPeriodMs : static_cast<unsigned>(Seconds) * 1000u;
}

int RemainingSeconds(unsigned stopPeriodMs, int64_t elapsedMs) {
    const double remaining = static_cast<double>(stopPeriodMs / 1000) - static_cast<double>(elapsedMs) / 1000.0;
    // remainder() rounds its quotient half to even whatever the FPU's
    // rounding mode is, so this is the nearest integer, ties to even.
    return static_cast<int>(remaining - std::remainder(remaining, 1.0));
}

std::wstring CountdownCaption(int remaining) {
    return L"  " + std::to_wstring(remaining) + L"с";
}
