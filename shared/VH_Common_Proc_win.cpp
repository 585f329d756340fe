// The file-reading half of VH_Common_Proc.
#include <windows.h>

#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "shared/VH_Common_Proc.h"
#include "shared/VH_Common_Var.h"
#include "shared/number_format.h"

namespace {

// The package's INI files as the profile functions read them: UTF-16 after
// a UTF-16 LE mark, the ANSI code page otherwise (a UTF-8 mark included).
// A file that is missing or cannot be read reads as empty, so every lookup
// gives its default.
IniText LoadIniFile(std::wstring_view path) {
    if (path.empty() || !FileExists(path)) return IniText();
    std::vector<unsigned char> data;
    try {
        data = ReadWholeFile(path);
    } catch (const Error&) {
        return IniText();
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    if (EncodingOfMark(bytes) == TextEncoding::Utf16Le)
        return IniText(DecodeUnicode(bytes.substr(MarkLength(TextEncoding::Utf16Le)), TextEncoding::Utf16Le));
    return IniText(FromAnsi(bytes));
}

}  // namespace

void ReadSettings() {
    Settings = ReadSettingsFile(JoinPath(ExeDir, kSettingsFolder, kSettingsFile));
}

TSettings ReadSettingsFile(std::wstring_view path) {
    SetProcessNumberFormat();
    return SettingsFromIni(LoadIniFile(path));
}

void TranslateVocabularyFile(std::wstring_view path) {
    TranslateVocabulary(LoadIniFile(path));
}

void InitializeCommonProc() {
    TranslateVocabularyFile(LangFile);
}
