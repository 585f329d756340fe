// Loading system DLLs and entry points without ever searching the folder the
// installer runs from (a download folder may hold planted DLLs).
#pragma once

#include <windows.h>

// Restricts the process's DLL search to the system folder where the system
// supports it (Windows 7 with KB2533623 and later); elsewhere at least takes
// the current folder out of the search. Call first thing in the entry.
void RestrictDllSearchToSystem();

// Loads name (a bare file name such as L"msftedit.dll") from the system
// folder only. nullptr when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);
