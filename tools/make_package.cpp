// Lays out a demo installation package in a folder, the way the installer
// expects to find it beside itself. Run under Wine or Windows from the build
// folder (it takes the stand-in programs from its own folder):
//   make_package.exe <folder> [--leave-out <path below the folder>]...
#include <cstdio>
#include <exception>
#include <string>

#include "base/utf8.h"
#include "tests/kit/package_builder.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: make_package <folder> [--leave-out <path>]...\n", stderr);
        return 2;
    }
    PackageOptions options;
    for (int i = 2; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--leave-out" && i + 1 < argc) {
            options.leaveOut.push_back(argv[++i]);
        } else {
            std::fprintf(stderr, "unknown argument %s\n", ToUtf8(argv[i]).c_str());
            return 2;
        }
    }
    try {
        BuildPackage(argv[1], options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("Package laid out in %s\n", ToUtf8(argv[1]).c_str());
    return 0;
}
