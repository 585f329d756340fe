#include "bench/file_copy_bench.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

#include "base/error.h"
#include "base/system_error.h"
#include "engine/file_ops.h"

namespace {

Result<> CopyWithPlatform(std::wstring_view source, std::wstring_view destination) {
    if (CopyFileW(std::wstring(source).c_str(), std::wstring(destination).c_str(), FALSE)) return {};
    const DWORD code = GetLastError();
    return Result<>::Failure(L"CopyFileW to " + std::wstring(destination), code);
}

}  // namespace

void TimeFileCopy(const std::wstring& method, const std::wstring& source, const std::wstring& destination) {
    const FileCopy copy = method == L"withdate"    ? CopyFileWithDate
                          : method == L"copyfilew" ? CopyWithPlatform
                                                   : nullptr;
    if (!copy) throw Error(L"Unknown copy method " + method);
    DeleteFileW(destination.c_str());

    const auto start = std::chrono::steady_clock::now();
    const Result<> copied = copy(source, destination);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!copied) throw Error(L"The copy to \"" + destination + L"\" failed. " + SystemErrorText(copied.code()));
    std::printf("copy_seconds %.4f\n", seconds);
}
