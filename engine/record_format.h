// The fixed words of the installation record's text file, which the record
// writes and the removal reads back. Windows-free.
#pragma once

#include <string_view>

inline constexpr std::wstring_view kRecordTitle = L"Протокол установки комплекса \"Velmora-Холтер\"";
inline constexpr std::wstring_view kRecordInstallFolder = L"Каталог установки";
inline constexpr std::wstring_view kRecordReleaseLevel = L"Уровень выпуска";
inline constexpr std::wstring_view kRecordShortcut = L"Ярлык";
// The first column's name, which opens the file lines.
inline constexpr std::wstring_view kRecordFileColumn = L"Файл";
// A field with nothing to say (no digest, no shortcut).
inline constexpr std::wstring_view kRecordNone = L"-";
