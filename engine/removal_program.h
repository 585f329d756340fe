// The copy of the installer that the installation keeps in the install
// folder to remove it later: what the Uninstall entry's commands start.
#pragma once

#include <windows.h>

#include <aclapi.h>

#include <string>
#include <string_view>

#include "base/result.h"

// Its folder below the install folder, and its name there.
inline constexpr std::wstring_view kRemovalFolder = L"Uninstall";
inline constexpr std::wstring_view kRemovalProgram = L"VelmoraSetup.exe";

// The removal program's path: the program in installFolder's removal folder.
std::wstring RemovalProgramPath(std::wstring_view installFolder);

// Copies program to kept (RemovalProgramPath of the install folder), making
// its folder when missing; nothing is copied when program is kept already. With
// protect (an elevated run) the folder first gets an access list of its
// own: the Administrators and the system full control, the Users read and
// execute, nothing inherited, so no standard user can replace the program
// that an administrator later runs, nor put a DLL beside it. Fails with the
// failing call's code.
Result<> KeepRemovalProgram(const std::wstring& program, const std::wstring& kept, bool protect);

// The call that sets the folder's access list: SetNamedSecurityInfoW, unless
// a test put in one that looks at what it is given (Wine keeps no access
// lists to read back).
using SetSecurityFunction = DWORD(WINAPI*)(LPWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID owner,
                                           PSID group, PACL dacl, PACL sacl);
extern SetSecurityFunction SetSecurityHook;
