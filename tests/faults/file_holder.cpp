// Stands in for another program that has a file open without sharing (a
// running database server, a virus scanner): file_holder <path> opens path
// with share mode 0, writes "held" or "failed <code>" and a line break to
// its standard output, and keeps the file open until its standard input
// reaches its end (the test closes the pipe, or ends).
#include <windows.h>

#include <string>

#include "base/handles.h"

namespace {

void Report(const std::string& text) {
    DWORD written = 0;
    const std::string line = text + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    ScopedHandle file(CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        Report("failed " + std::to_string(GetLastError()));
        return 1;
    }
    Report("held");
    char buffer[64];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    }
    return 0;
}
