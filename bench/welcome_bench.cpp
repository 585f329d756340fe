#include "bench/welcome_bench.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/png_decoder.h"
#include "base/strings.h"
#include "tests/e2e/driver.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPageTimeout = std::chrono::seconds(20);
// Where the main window draws its banner: centred, 20 pixels from the top.
constexpr int kBannerTop = 20;

struct ScreenPixel {
    POINT at;
    COLORREF colour;
};

// A few banner pixels spread along its middle row, at their places on the
// screen, so neither the desktop behind the window nor a half-drawn window
// can pass for the painted page.
std::vector<ScreenPixel> BannerPixels(HWND main, const Bitmap& banner) {
    RECT client{};
    GetClientRect(main, &client);
    const int left = (client.right - banner.width) / 2;
    const int y = banner.height / 2;
    std::vector<ScreenPixel> pixels;
    for (int x : {banner.width / 5, banner.width / 2, banner.width * 4 / 5}) {
        const uint32_t p = banner.at(x, y);
        POINT at{left + x, kBannerTop + y};
        ClientToScreen(main, &at);
        pixels.push_back({at, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)});
    }
    return pixels;
}

bool OnScreen(const std::vector<ScreenPixel>& pixels) {
    ScopedGetDc screen(nullptr);
    for (const ScreenPixel& p : pixels)
        if (GetPixel(screen.get(), p.at.x, p.at.y) != p.colour) return false;
    return true;
}

template <typename Pred>
void WaitFor(Pred pred, Clock::time_point start, const char* what) {
    while (!pred()) {
        if (Clock::now() - start > kPageTimeout)
            throw std::runtime_error(std::string("timed out waiting for ") + what);
        Sleep(1);
    }
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void CloseAndWait(HANDLE process, HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
}

}  // namespace

void MeasureWelcomePage(const std::wstring& exe, const std::wstring& titlePng, int runs) {
    const std::vector<unsigned char> png = ReadWholeFile(titlePng);
    const Bitmap banner = DecodePngOpaque(png.data(), png.size());
    const std::wstring folder = FolderOf(exe);

    for (int run = 0; run <= runs; ++run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::wstring command = L"\"" + exe + L"\"";
        const Clock::time_point start = Clock::now();
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &info))
            throw std::runtime_error("cannot start the installer");
        ScopedHandle process(info.hProcess);
        ScopedHandle thread(info.hThread);

        HWND main = nullptr;
        WaitFor([&] { return (main = FindTopWindow(info.dwProcessId, L"TFMain")) != nullptr; }, start,
                "the main window");
        const double visible = SecondsSince(start);
        const std::vector<ScreenPixel> pixels = BannerPixels(main, banner);
        WaitFor([&] { return OnScreen(pixels); }, start, "the painted banner");
        const double painted = SecondsSince(start);

        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(process.get(), &memory, sizeof(memory));
        CloseAndWait(process.get(), main);
        // The next instance opens at the same place: wait until the desktop
        // has painted over this one, so its pixels cannot count for the next.
        const Clock::time_point closed = Clock::now();
        while (OnScreen(pixels) && Clock::now() - closed < std::chrono::seconds(5)) Sleep(5);

        if (run == 0) continue;
        std::printf("welcome_visible_seconds %.4f\n", visible);
        std::printf("welcome_painted_seconds %.4f\n", painted);
        std::printf("welcome_peak_working_set %lu\n", static_cast<unsigned long>(memory.PeakWorkingSetSize));
        std::fflush(stdout);
    }
}
