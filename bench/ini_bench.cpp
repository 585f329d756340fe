// Parse time of a large settings file: a generated holter.ini of about
// <megabytes> MB in many small sections is read by both INI readers (the
// installer's IniDocument and the shared settings reader's IniText), then
// the installer's two keys are set and the file is written back, once per
// iteration. Builds natively (without the sanitizers) and for Windows.
//   ini_bench <iterations> <megabytes>
// Prints "sections <n>" and "bytes <n>", then for each iteration after one
// warm-up "parse_ms <wall> <cpu>" (IniDocument::Parse), "lookup_ms <wall>
// <cpu>" (IniText built and read as the settings reader reads it) and
// "rewrite_ms <wall> <cpu>" (SetInteger twice and Serialize): the elapsed
// time and the process's processor time, which a busy machine inflates less.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

#include "engine/ini_document.h"
#include "shared/ini_text.h"

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of the process so far, user and kernel.
double CpuMilliseconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e4;
#else
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
#endif
}

// Elapsed and processor time since it was made.
class Stopwatch {
public:
    void Print(const char* name) const {
        std::printf("%s %.2f %.2f\n", name,
                    std::chrono::duration<double, std::milli>(Clock::now() - wall_).count(),
                    CpuMilliseconds() - cpu_);
    }

private:
    Clock::time_point wall_ = Clock::now();
    double cpu_ = CpuMilliseconds();
};

// Sections "[Recorder<n>]" of four keys each, the options section last so
// every lookup of it walks past all the others in a reader without an index.
std::wstring LargeSettingsFile(size_t bytes, size_t& sections) {
    std::wstring text;
    sections = 0;
    while (text.size() < bytes) {
        const std::wstring n = std::to_wstring(sections++);
        text += L"[Recorder" + n + L"]\r\nSerial=VH-" + n + L"\r\nChannel1Gain=1.5\r\nPort=COM3\r\nLast=" + n +
                L"\r\n\r\n";
    }
    text += L"[options]\r\nFilterType=3\r\nHardwareType=2\r\nLanguageSetting=RUS\r\n";
    ++sections;
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: ini_bench <iterations> <megabytes>\n", stderr);
        return 2;
    }
    const int iterations = std::atoi(argv[1]);
    size_t sections = 0;
    const std::wstring text = LargeSettingsFile(static_cast<size_t>(std::atoi(argv[2])) << 20, sections);
    std::printf("sections %zu\nbytes %zu\n", sections, text.size());

    size_t check = 0;
    for (int i = 0; i <= iterations; ++i) {
        const bool shown = i > 0;  // the first run warms up
        Stopwatch parse;
        IniDocument document = IniDocument::Parse(text);
        if (shown) parse.Print("parse_ms");

        Stopwatch lookup;
        const IniText ini(text);
        for (int key = 0; key < 28; ++key)
            check += static_cast<size_t>(ini.ReadInteger(L"options", L"FilterType", 0));
        if (shown) lookup.Print("lookup_ms");

        Stopwatch rewrite;
        document.SetInteger(L"options", L"FilterType", 0);
        document.SetInteger(L"options", L"HardwareType", 1);
        check += document.Serialize().size();
        if (shown) rewrite.Print("rewrite_ms");
    }
    std::fprintf(stderr, "checksum %zu\n", check);
    return 0;
}
