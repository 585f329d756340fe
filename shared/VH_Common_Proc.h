// Shared procedures of the package's programs: the settings reader for
// holter.ini and the start-up translation of the word lists. The functions
// marked "Windows" read files and exist only in the Windows program.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shared/VH_Common_Types.h"
#include "shared/ini_text.h"

// Short labels of the package's viewer; entries 2 to 7 stay empty.
extern std::array<std::wstring, 10> ProcText;

// The settings held by file under the section "options", key by key with
// their defaults and value rules: FilterType and new_reg only 0 to 255,
// DefaultRegType its low byte, forMVD false and Person 0 always. Missing
// keys and values that do not parse take their defaults. Never fails.
TSettings SettingsFromIni(const IniText& file);

// The translation step over an opened language file: the four lists of
// VH_Common_Const (section "VH_Messages"), then ProcText (section
// "VH_Common_Proc"). Never fails.
void TranslateVocabulary(const IniText& language_file);

// Empties ProcText.
void FinalizeCommonProc();

// Windows. Fills Settings from ExeDir + "Settings\holter.ini". Never fails.
void ReadSettings();

// Windows. Puts the process-wide number format in force and reads the
// settings file at path: a file starting with the UTF-16 LE byte-order mark
// is UTF-16, any other one is in the ANSI code page. A missing or unreadable
// file gives the defaults. Never fails.
TSettings ReadSettingsFile(std::wstring_view path);

// Windows. The translation step over the language file at path; an empty
// path, a missing or an unreadable file give the Russian texts. Never fails.
void TranslateVocabularyFile(std::wstring_view path);

// Windows. The unit's start-up: the translation step over LangFile.
void InitializeCommonProc();
