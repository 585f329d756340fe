// Parse time of a large settings file: a generated holter.ini of about
// <megabytes> MB in many small sections is read by both INI readers (the
// installer's IniDocument and the shared settings reader's IniText), then
// the installer's two keys are set and the file is written back, once per
// iteration. Builds natively (without the sanitizers) and for Windows.
//   ini_bench <iterations> <megabytes>
// Prints "sections <n>" and "bytes <n>", then for each iteration after one
// warm-up "parse_ms <ms>" (IniDocument::Parse), "lookup_ms <ms>" (IniText
// built and read as the settings reader reads it) and "rewrite_ms <ms>"
// (SetInteger twice and Serialize).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/ini_document.h"
#include "shared/ini_text.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

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
        auto start = Clock::now();
        IniDocument document = IniDocument::Parse(text);
        const double parse = MillisecondsSince(start);

        start = Clock::now();
        const IniText ini(text);
        for (int key = 0; key < 28; ++key)
            check += static_cast<size_t>(ini.ReadInteger(L"options", L"FilterType", 0));
        const double lookup = MillisecondsSince(start);

        start = Clock::now();
        document.SetInteger(L"options", L"FilterType", 0);
        document.SetInteger(L"options", L"HardwareType", 1);
        check += document.Serialize().size();
        const double rewrite = MillisecondsSince(start);

        if (i == 0) continue;  // warm-up
        std::printf("parse_ms %.2f\nlookup_ms %.2f\nrewrite_ms %.2f\n", parse, lookup, rewrite);
    }
    std::fprintf(stderr, "checksum %zu\n", check);
    return 0;
}
