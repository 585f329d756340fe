// Start-up time of the real installer: from CreateProcess until the welcome
// page is on the screen, judged by the banner's pixels on the screen itself.
#pragma once

#include <string>

// Starts exe (full path) runs + 1 times, one after the other; the first run
// only warms the caches. For each measured run prints to stdout
// "welcome_visible_seconds" (the main window "TFMain" is visible),
// "welcome_painted_seconds" (the banner, decoded from titlePng, shows on
// the screen DC at its place in the window) and "welcome_peak_working_set"
// (bytes, of the installer at that moment). Each instance is closed through
// its window and waited for. Throws std::runtime_error when the installer
// cannot be started or does not show its page within 20 s.
void MeasureWelcomePage(const std::wstring& exe, const std::wstring& titlePng, int runs);
