// The package's shared word lists: the clinical vocabulary (body types,
// diagnoses, medication groups, ECG findings) with their Russian texts,
// translated at start-up through the language file. Windows-free.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "shared/ini_text.h"

extern std::array<std::wstring, 3> ConstitutionText;
extern std::array<std::wstring, 22> DiseaseText;
extern std::array<std::wstring, 9> DrugText;
extern std::array<std::wstring, 5> FindingText;

// One entry of a word list: its key in the language file (nullptr: never
// looked up) and its Russian text.
struct VocabularyEntry {
    const wchar_t* key;
    const wchar_t* russian;
};

// Every keyed entry of list takes the value of its key in section of
// language_file, or its Russian text when the key is missing; a key present
// with an empty value gives an empty entry. Entries without a key are left
// as they are. list and entries have the same length.
void TranslateList(std::span<std::wstring> list, std::span<const VocabularyEntry> entries,
                   const IniText& language_file, std::wstring_view section);

// Fills the four lists with their Russian texts.
void InitializeCommonConst();

// Translates the four lists through the section "VH_Messages".
void TranslateCommonConst(const IniText& language_file);

// Empties the four lists.
void FinalizeCommonConst();
