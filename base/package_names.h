// The fixed names of the package that the installer shares with the
// package's other programs: folders and files they look for by name.
// Folder names carry no trailing "\": paths are joined with JoinPath.
// Windows-free.
#pragma once

#include <string_view>

// The shared settings folder below a program's folder, its files, and the
// section of holter.ini that holds the package's switches.
inline constexpr std::wstring_view kSettingsFolder = L"Settings";
inline constexpr std::wstring_view kSettingsFile = L"holter.ini";
inline constexpr std::wstring_view kLanguageFile = L"EngView.lng";
inline constexpr std::wstring_view kOptionsSection = L"options";

// The database, and the record counter beside the settings file.
inline constexpr std::wstring_view kDatabaseFolder = L"DTAfb";
inline constexpr std::wstring_view kDatabaseFile = L"V12.FDB";
inline constexpr std::wstring_view kCounterFile = L"lastnum.dta";

// The brand file in the install folder.
inline constexpr std::wstring_view kBrandFile = L"btooth.ini";

// The driver installer's folder and program, and the updater's folder and
// its settings file.
inline constexpr std::wstring_view kDriverFolder = L"FTDIDriverInstall";
inline constexpr std::wstring_view kDriverProgram = L"FTDIDriverInstall\\FTDIDriverInstall.exe";
inline constexpr std::wstring_view kUpdaterFolder = L"Updater";
inline constexpr std::wstring_view kUpdaterConfigFile = L"Updater.exe.cfg";

// The updater's release-information file in the install folder.
inline constexpr std::wstring_view kReleaseInfoFile = L"ReleaseInfo";

// The store of update packages below the installer and the install folder;
// the progress list names it without the "\".
inline constexpr std::wstring_view kBackupFolder = L"backup";
// The script each update package carries.
inline constexpr std::wstring_view kUpdateScript = L"Install.cmd";

// The shared log in a program's folder.
inline constexpr std::wstring_view kLogFile = L"TestHolter.log";
