// Helpers for the tests of the shared windows: waiting, reading window
// texts, a plain window of the test's own, and the screen manager the
// windows place themselves by.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "base/handles.h"
#include "shared/ScreenMonitorManager.h"
#include "shared/screen_snapshot.h"

using namespace std::chrono_literals;

template <typename Pred>
bool WaitUntil(Pred pred, std::chrono::milliseconds timeout = 5s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(10);
    }
    return true;
}

inline std::wstring TextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A visible top-level window of the calling thread, like a program's main window.
inline ScopedWindow MakeVisibleWindow() {
    return ScopedWindow(CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
}

// The program entry selects monitor 0 before any window exists.
class ScreenEnvironment : public testing::Environment {
public:
    void SetUp() override {
        myScreen = std::make_unique<TmyScreen>(ReadScreenSnapshot(), ApplyScreenCursor);
        SelectMonitor(0);
    }
};
inline testing::Environment* const kScreenEnvironment = testing::AddGlobalTestEnvironment(new ScreenEnvironment);
