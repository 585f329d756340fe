// The fixed names of the package that the installer shares with the
// package's other programs: folders and files they look for by name.
// Folder names that later names are appended to carry their trailing "\".
// Windows-free.
#pragma once

#include <string_view>

// The shared settings folder below a program's folder, and its files.
inline constexpr std::wstring_view kSettingsFolder = L"Settings\\";
inline constexpr std::wstring_view kSettingsFile = L"holter.ini";
inline constexpr std::wstring_view kLanguageFile = L"EngView.lng";

// The updater's release-information file in the install folder.
inline constexpr std::wstring_view kReleaseInfoFile = L"ReleaseInfo";

// The store of update packages below the installer and the install folder;
// the progress list names it without the "\".
inline constexpr std::wstring_view kBackupFolder = L"backup";

// The shared log in a program's folder.
inline constexpr std::wstring_view kLogFile = L"TestHolter.log";
