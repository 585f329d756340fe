// The Windows side of the benchmark; tools/bench.sh runs it under Wine and
// puts the figures side by side with the Linux tools.
//   velmora_bench package <folder\> [<database bytes>]
//   velmora_bench pass|recordpass <package folder\VelmoraSetup.exe> <install folder\> [--hold <file>]
//   velmora_bench installer <package folder\VelmoraSetup.exe> <install folder\> [--hold <file>]
//   velmora_bench copy withdate|copyfilew <source> <destination>
//   velmora_bench tree copyfilew|xcopy|copyfoldertree <source folder\> <destination folder\> <folder>...
//   velmora_bench welcome <VelmoraSetup.exe> <TITLE.png> <runs>
//   velmora_bench floors <folder\>
//   velmora_bench hash <folder\> <folder>...
//   velmora_bench cng
// Results go to stdout as "name value" lines. With --hold the process that
// ran the pass stays alive after printing until <file> exists (at most a
// minute), so its memory can be read from the outside.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "base/error.h"
#include "bench/file_copy_bench.h"
#include "bench/hash_bench.h"
#include "bench/headless_pass.h"
#include "bench/hold.h"
#include "bench/installer_pass.h"
#include "bench/reference_package.h"
#include "bench/step_floors.h"
#include "bench/tree_copy_bench.h"
#include "bench/welcome_bench.h"

namespace {

int Run(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"package" && (argc == 3 || argc == 4)) {
        ReferencePackageShape shape;
        if (argc == 4) shape.databaseBytes = std::wcstoull(argv[3], nullptr, 10);
        BuildReferencePackage(argv[2], shape);
    } else if ((command == L"pass" || command == L"recordpass") &&
               (argc == 4 || (argc == 6 && std::wstring(argv[4]) == L"--hold"))) {
        RunHeadlessPass(argv[2], argv[3], command == L"recordpass");
        if (argc == 6) HoldUntil(argv[5]);
    } else if (command == L"installer" && (argc == 4 || (argc == 6 && std::wstring(argv[4]) == L"--hold"))) {
        RunInstallerPass(argv[2], argv[3], argc == 6 ? argv[5] : L"");
    } else if (command == L"copy" && argc == 5) {
        TimeFileCopy(argv[2], argv[3], argv[4]);
    } else if (command == L"tree" && argc >= 6) {
        TimeTreeCopy(argv[2], argv[3], argv[4], std::vector<std::wstring>(argv + 5, argv + argc));
    } else if (command == L"welcome" && argc == 5) {
        MeasureWelcomePage(argv[2], argv[3], _wtoi(argv[4]));
    } else if (command == L"floors" && argc == 3) {
        TimeStepFloors(argv[2]);
    } else if (command == L"hash" && argc >= 4) {
        TimeHash(argv[2], std::vector<std::wstring>(argv + 3, argv + argc));
    } else if (command == L"cng" && argc == 2) {
        MeasureCngOpen();
    } else {
        std::fputs(
            "usage: velmora_bench package|pass|recordpass|installer|copy|tree|welcome|floors|hash|cng ... (see "
            "bench/bench_main.cpp)\n",
            stderr);
        return 2;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}
