#include "app/large_fonts.h"

#include "app/font_size_rule.h"
#include "base/handles.h"
#include "base/system_library.h"

ExitWindowsFunction ExitWindowsHook = ExitWindowsEx;

bool IsSmallFonts() {
    ScopedGetDc screen(nullptr);
    return IsSmallFontDpi(GetDeviceCaps(screen.get(), LOGPIXELSX));
}

void ChangeFontSize() {
    HMODULE library = LoadSystemLibrary(L"syssetup.dll");
    if (!library) return;
    using SetupChangeFontSizeFunction = DWORD(WINAPI*)(HWND owner, LPCWSTR size);
    const auto change = reinterpret_cast<SetupChangeFontSizeFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "SetupChangeFontSize")));
    // Without the entry, or when the change fails, the library stays loaded
    // until the process ends.
    if (change && change(nullptr, L"120") != 0) FreeLibrary(library);
}

namespace {

void EnableShutdownPrivilege() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive())) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return;
    TOKEN_PRIVILEGES previous{};
    DWORD previousSize = 0;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(previous), &previous, &previousSize);
}

}  // namespace

bool ShutdownWindows(UINT flags) {
    EnableShutdownPrivilege();
    return ExitWindowsHook(flags, kRestartReason) != 0;
}
