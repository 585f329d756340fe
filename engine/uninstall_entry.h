// The installation's entry in the system's list of installed programs
// ("Programs and Features", and what deployment tools read to detect and
// remove a program). Always the 32-bit view of the machine's Uninstall key,
// which the shipped 32-bit program writes natively: on 64-bit Windows that
// is HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\Uninstall.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"

// The entry's key below HKLM, in the 32-bit view.
inline constexpr std::wstring_view kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora-Holter";

struct UninstallEntry {
    std::wstring displayName;
    std::wstring displayVersion;    // the release level recorded
    std::wstring installerVersion;  // the installer's own version, a value of its own
    std::wstring publisher;
    std::wstring installLocation;
    std::wstring installDate;  // YYYYMMDD
    uint32_t estimatedSizeKiB = 0;
    std::wstring displayIcon;
    std::wstring uninstallString;
    std::wstring quietUninstallString;
};

// Creates the entry or rewrites every value of an earlier one. Fails with the
// failing call's code (for example access denied without the
// administrator's rights).
Result<> WriteUninstallEntry(const UninstallEntry& entry);

// The entry's InstallLocation; empty when there is no entry or no such
// value.
std::wstring UninstallEntryLocation();

// Deletes the entry. Fails with the call's code; a missing entry is
// ERROR_FILE_NOT_FOUND.
Result<> DeleteUninstallEntry();
