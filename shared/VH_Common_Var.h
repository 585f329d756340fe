// Shared state of the package's programs: the program folder, the settings
// read from holter.ini, the language selection and the examination's start
// parameters. Filled once at start-up, read-only afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "shared/VH_Common_Types.h"

// The start parameters of an examination.
struct TStartXmlObject {
    std::wstring filename;
    std::wstring Code;
    std::wstring Amcart;  // outpatient card
    std::wstring FIO;     // patient's full name
    std::wstring Birthday;
    std::wstring Birthday_YY;
    std::wstring Birthday_MM;
    std::wstring Birthday_DD;
    std::wstring Pol;           // sex
    std::wstring Constitution;  // body type
    std::wstring AD;            // blood pressure as text
    std::int32_t ADS = 0;       // systolic pressure
    std::int32_t ADD = 0;       // diastolic pressure
    std::wstring Doctor;
    std::wstring Diagnosys;
    std::wstring Otdel;  // department
    std::wstring Area;
    std::wstring Palata;  // ward
    std::wstring Address;
    std::wstring Workplace;
    std::wstring Policy;  // insurance policy
    std::wstring Medic;
    std::int32_t IWR = 0;

    // Empties every string and zeroes the three integers.
    void clear();

    bool operator==(const TStartXmlObject&) const = default;
};

// Folder of the running executable, with its trailing "\".
extern std::wstring ExeDir;
extern TSettings Settings;
// Empty, or the English language file when LanguageSetting is exactly "ENG".
extern std::wstring LangFile;
// "RUS", or "ENG" when LanguageSetting is exactly "ENG".
extern std::wstring LangCode;
// The module whose resources hold the program's pictures; nullptr means the
// program's own executable.
extern HINSTANCE ResInstance;
extern std::wstring AtesInDir;
extern std::wstring AtesOutDir;
extern TStartXmlObject StartXml;

// The unit's start-up for a program in exe_dir:
// ExeDir, the settings from exe_dir + "Settings\holter.ini", the language
// selection, AtesInDir and AtesOutDir. Never fails.
void InitializeCommonVarAt(std::wstring_view exe_dir);

// The unit's start-up for the running executable's folder.
void InitializeCommonVar();

// Empties the strings and records again.
void FinalizeCommonVar();
