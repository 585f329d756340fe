#include "tests/kit/small_disk.h"

#include <windows.h>

#include <cstdint>

#include "base/strings.h"

std::wstring SmallDisk() {
    constexpr uint64_t kLargestSmallDisk = uint64_t{64} << 20;
    wchar_t value[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VH_SMALL_DISK", value, MAX_PATH)) return L"";
    std::wstring folder = value;
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    folder = WithTrailingBackslash(folder);
    // An unmounted folder reports the large disk below it.
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExW(folder.c_str(), nullptr, &total, nullptr) || total.QuadPart > kLargestSmallDisk)
        return L"";
    return folder;
}
