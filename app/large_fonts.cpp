#include "app/large_fonts.h"

#include "app/font_size_rule.h"
#include "base/handles.h"
#include "base/setup_log.h"
#include "base/system_error.h"
#include "base/system_library.h"

ExitWindowsFunction ExitWindowsHook = ExitWindowsEx;

bool IsSmallFonts() {
    ScopedGetDc screen(nullptr);
    return IsSmallFontDpi(GetDeviceCaps(screen.get(), LOGPIXELSX));
}

namespace {

std::wstring FontSizeRefusal(const std::wstring& reason) {
    return L"Не удалось изменить размер шрифта: " + reason +
           L".\r\nИзмените размер шрифта вручную в настройках экрана Windows.";
}

}  // namespace

std::wstring ChangeFontSize() {
    HMODULE library = LoadSystemLibrary(L"syssetup.dll");
    if (!library) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Font size not changed: syssetup.dll not loaded", code);
        return FontSizeRefusal(SystemErrorText(code));
    }
    using SetupChangeFontSizeFunction = DWORD(WINAPI*)(HWND owner, LPCWSTR size);
    const auto change = reinterpret_cast<SetupChangeFontSizeFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "SetupChangeFontSize")));
    // Without the entry, or when the change fails, the library stays loaded
    // until the process ends.
    if (!change) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Font size not changed: syssetup.dll has no SetupChangeFontSize", code);
        return FontSizeRefusal(SystemErrorText(code));
    }
    const DWORD result = change(nullptr, L"120");
    setup_log::Write(L"SetupChangeFontSize(\"120\") returned " + std::to_wstring(result));
    if (result == 0) return FontSizeRefusal(L"Windows не выполнила изменение");
    FreeLibrary(library);
    return {};
}

namespace {

void EnableShutdownPrivilege() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive())) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Shutdown privilege not enabled: no process token", code);
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Shutdown privilege not enabled: unknown privilege", code);
        return;
    }
    TOKEN_PRIVILEGES previous{};
    DWORD previousSize = 0;
    // Success with ERROR_NOT_ALL_ASSIGNED means the user does not hold it.
    const BOOL adjusted =
        AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(previous), &previous, &previousSize);
    const DWORD code = GetLastError();
    if (!adjusted || code == ERROR_NOT_ALL_ASSIGNED)
        setup_log::WriteError(L"Shutdown privilege not enabled", code);
}

}  // namespace

Result<> ShutdownWindows(UINT flags) {
    EnableShutdownPrivilege();
    if (ExitWindowsHook(flags, kRestartReason)) return {};
    return Result<>::Failure(L"Restart refused by Windows", GetLastError());
}

std::wstring RequestRestart() {
    const Result<> shutdown = ShutdownWindows(kRestartFlags);
    if (shutdown) {
        setup_log::Write(L"Restart requested; Windows accepted");
        return {};
    }
    setup_log::WriteFailure(shutdown);
    return L"Не удалось перезагрузить компьютер: " + SystemErrorText(shutdown.code()) +
           L".\r\nПерезагрузите компьютер вручную, чтобы изменения вступили в силу.";
}
