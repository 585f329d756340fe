// The large-font check at the end of the installation, the switch to large
// fonts and the restart of Windows that makes it take effect.
#pragma once

#include <windows.h>

#include <string>

#include "base/result.h"

// The restart the wizard asks for. EWX_FORCEIFHUNG rather than EWX_FORCE:
// programs that still answer may save their data first.
constexpr UINT kRestartFlags = EWX_REBOOT | EWX_FORCEIFHUNG;
// Recorded by Windows as the reason: a planned restart after an installation.
constexpr DWORD kRestartReason =
    SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION | SHTDN_REASON_FLAG_PLANNED;

// True when the screen uses small fonts: its horizontal logical resolution
// (LOGPIXELSX of the whole screen's DC) is below 100.
bool IsSmallFonts();

// Asks Windows to switch to large fonts through "SetupChangeFontSize" of
// "syssetup.dll" (owner 0, "120"), loaded from the system folder only. The
// library is released only when the call reports success (non-zero). Empty
// when the change was made; otherwise (library or entry missing, the call
// refused) the text for the user: why, and to change the size by hand. What
// happened goes into the setup log.
std::wstring ChangeFontSize();

// Enables the shutdown privilege of the process (a failure is ignored), then
// ends the logon with flags and the planned-installation reason through
// ExitWindowsHook. Succeeds when Windows accepted the request; otherwise
// "Restart refused by Windows" with its code.
Result<> ShutdownWindows(UINT flags);

// Asks Windows for the restart that makes large fonts take effect
// (ShutdownWindows with kRestartFlags). Empty when Windows accepted; when
// it refused, the refusal goes into the setup log and the result is the
// text for the user: the system's reason and a request to restart by hand.
std::wstring RequestRestart();

// The call that ends the logon; ExitWindowsEx unless a test replaced it.
using ExitWindowsFunction = BOOL(WINAPI*)(UINT flags, DWORD reason);
extern ExitWindowsFunction ExitWindowsHook;
