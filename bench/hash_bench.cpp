#include "bench/hash_bench.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>

#include "base/sha256.h"
#include "engine/tree_walk.h"

namespace {

uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

}  // namespace

void TimeHash(const std::wstring& source, const std::vector<std::wstring>& folders) {
    const Sha256Algorithm algorithm;
    std::string buffer;
    uint64_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::wstring& folder : folders) {
        ForEachTreeFile(source + folder, [&](const std::wstring& relative) {
            const std::wstring path = source + folder + L"\\" + relative;
            HashFile(algorithm, path, buffer);
            bytes += SizeOf(path);
        });
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("hash_seconds %.4f\nhash_bytes %llu\n", seconds, static_cast<unsigned long long>(bytes));
}

void MeasureCngOpen() {
    const auto workingSet = [] {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
        return static_cast<long long>(memory.WorkingSetSize);
    };
    const long long before = workingSet();
    const Sha256Algorithm algorithm;
    std::printf("cng_working_set_added %lld\n", workingSet() - before);
}
