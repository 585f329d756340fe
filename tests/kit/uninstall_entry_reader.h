// The installation's entry in the system's list of installed programs, read
// as a deployment tool reads it: through the 32-bit view the shipped
// installer writes, independently of the installer's own code.
#pragma once

#include <windows.h>

#include <string>

inline const std::wstring kEntryKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora-Holter";

// Whether the entry's key is there.
bool EntryExists();
// A text value of the entry; empty when it or the entry is missing.
std::wstring EntryText(const wchar_t* name);
// A number value of the entry; 0xFFFFFFFF when it or the entry is missing.
DWORD EntryNumber(const wchar_t* name);
// Removes the entry, if there is one.
void DeleteEntry();
