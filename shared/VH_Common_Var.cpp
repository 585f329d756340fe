#include "shared/VH_Common_Var.h"

#include "base/file_system.h"
#include "base/package_names.h"
#include "base/strings.h"
#include "shared/VH_Common_Proc.h"

std::wstring ExeDir;
TSettings Settings;
std::wstring LangFile;
std::wstring LangCode;
HINSTANCE ResInstance = nullptr;
std::wstring AtesInDir;
std::wstring AtesOutDir;
TStartXmlObject StartXml;

void TStartXmlObject::clear() {
    *this = TStartXmlObject();
}

void InitializeCommonVarAt(std::wstring_view exe_dir) {
    ExeDir = WithTrailingBackslash(exe_dir);
    ReadSettings();
    LangFile.clear();
    LangCode = L"RUS";
    // Exactly "ENG": the reader has already removed blanks around the value,
    // but "eng" stays Russian.
    if (Settings.LanguageSetting == L"ENG") {
        LangFile = JoinPath(ExeDir, kSettingsFolder, kLanguageFile);
        LangCode = L"ENG";
    }
    AtesInDir = ExeDir + L"AtesIn\\";
    AtesOutDir = ExeDir + L"AtesOut\\";
}

void InitializeCommonVar() {
    InitializeCommonVarAt(ModuleFolder());
}

void FinalizeCommonVar() {
    ExeDir.clear();
    Settings = TSettings();
    LangFile.clear();
    LangCode.clear();
    AtesInDir.clear();
    AtesOutDir.clear();
    StartXml.clear();
}
