#include "bench/tree_copy_bench.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

#include "base/error.h"
#include "base/handles.h"
#include "base/system_error.h"
#include "engine/file_ops.h"

namespace {

[[noreturn]] void FailWith(DWORD code, const std::wstring& what) {
    throw Error(what + L" " + SystemErrorText(code));
}

// source and destination end in "\".
void CopyTreeWithCopyFileW(const std::wstring& source, const std::wstring& destination) {
    if (!CreateDirectoryW(destination.c_str(), nullptr)) {
        const DWORD code = GetLastError();
        if (code != ERROR_ALREADY_EXISTS) FailWith(code, L"Cannot create \"" + destination + L"\".");
    }
    WIN32_FIND_DATAW found;
    ScopedFindHandle find(FindFirstFileW((source + L"*").c_str(), &found));
    if (!find) FailWith(GetLastError(), L"Cannot list \"" + source + L"\".");
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTreeWithCopyFileW(source + name + L"\\", destination + name + L"\\");
        } else if (!CopyFileW((source + name).c_str(), (destination + name).c_str(), FALSE)) {
            FailWith(GetLastError(), L"Cannot copy \"" + source + name + L"\".");
        }
    } while (FindNextFileW(find.get(), &found));
}

// The installer's own tree copy, as the pass calls it.
void CopyTreeWithInstaller(const std::wstring& source, const std::wstring& destination) {
    const TreeCopy copy =
        CopyFolderTree(source.substr(0, source.size() - 1), destination.substr(0, destination.size() - 1));
    if (copy.notCopied != 0)
        throw Error(L"CopyFolderTree left " + std::to_wstring(copy.notCopied) + L" files uncopied.");
}

void CopyTreeWithXcopy(const std::wstring& source, const std::wstring& destination) {
    // xcopy wants folders without the trailing "\"; /I: the target is a folder.
    std::wstring command = L"xcopy.exe \"" + source.substr(0, source.size() - 1) + L"\" \"" +
                           destination.substr(0, destination.size() - 1) + L"\" /E /I /Q /Y";
    // Its "N file(s) copied" lines would mix with the figures on stdout.
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    ScopedHandle nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr));
    if (!nul) FailWith(GetLastError(), L"Cannot open NUL.");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = nul.get();
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        FailWith(GetLastError(), L"Cannot start " + command + L".");
    ScopedHandle process(pi.hProcess);
    ScopedHandle thread(pi.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    if (exitCode != 0) throw Error(command + L" ended with code " + std::to_wstring(exitCode) + L".");
}

}  // namespace

void TimeTreeCopy(const std::wstring& method, const std::wstring& source, const std::wstring& destination,
                  const std::vector<std::wstring>& folders) {
    using CopyTree = void (*)(const std::wstring&, const std::wstring&);
    const CopyTree copy = method == L"copyfilew"        ? CopyTreeWithCopyFileW
                          : method == L"xcopy"          ? CopyTreeWithXcopy
                          : method == L"copyfoldertree" ? CopyTreeWithInstaller
                                                        : nullptr;
    if (!copy) throw Error(L"Unknown tree copy method " + method);

    const auto start = std::chrono::steady_clock::now();
    for (const std::wstring& folder : folders) copy(source + folder + L"\\", destination + folder + L"\\");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("tree_copy_seconds %.4f\n", seconds);
}
