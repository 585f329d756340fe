#include "base/system_library.h"

#include <string>

namespace {

template <typename Fn>
Fn Kernel32Entry(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

void RestrictDllSearchToSystem() {
    // Looked up at run time: an unpatched Windows 7 lacks the entry, and a
    // static import would keep the program from starting there at all.
    const auto set_default = Kernel32Entry<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories");
    if (set_default && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    // The flag is unknown to this system: name the system folder explicitly.
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    return LoadLibraryExW((std::wstring(folder, n) + L"\\" + name).c_str(), nullptr,
                          LOAD_WITH_ALTERED_SEARCH_PATH);
}
