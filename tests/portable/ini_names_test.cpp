// Section and key names in the package's INI files match without regard to
// case, Cyrillic names included, and the installer's writer (IniDocument)
// and the shared reader (IniText) find the same entries in the same text.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/strings.h"
#include "base/utf8.h"
#include "engine/ini_document.h"
#include "shared/ini_text.h"

namespace {

const std::wstring kFile =
    L"[Настройки]\r\n"
    L"Язык=RUS\r\n"
    L"ЁлкаЖ=1\r\n"
    L"[Options]\r\n"
    L"HardwareType=2\r\n"
    L"[Отчёт ЭКГ]\r\n"
    L"Заголовок=Холтер\r\n"
    L"[Ђурђевдан]\r\n"
    L"Ключ=serbian\r\n"
    L"[Straße]\r\n"
    L"Key=latin\r\n";

TEST(IniNames, BothReadersFoldTheSameMixedCaseCyrillicAndLatinNames) {
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        std::optional<std::wstring> value;
    };
    const Case cases[] = {
        {L"НАСТРОЙКИ", L"язык", L"RUS"},
        {L"настройки", L"ЯЗЫК", L"RUS"},
        {L"НаСтРоЙкИ", L"ёлкаж", L"1"},          // Ё folds to ё
        {L"настройки", L"ЕлкаЖ", std::nullopt},  // Е and Ё stay two letters
        {L"OPTIONS", L"hardwaretype", L"2"},
        {L"options", L"HARDWARETYPE", L"2"},
        {L"ОТЧЁТ экг", L"ЗАГОЛОВОК", L"Холтер"},
        {L"отчет экг", L"заголовок", std::nullopt},
        {L"ЂУРЂЕВДАН", L"КЛЮЧ", L"serbian"},  // the letters of U+0400..U+040F
        {L"ђурђевдан", L"ключ", L"serbian"},
        {L"STRASSE", L"key", std::nullopt},  // no folding beyond letter for letter
        {L"straße", L"KEY", L"latin"},
        {L"Настройки ", L"Язык", std::nullopt},
    };
    const IniDocument document = IniDocument::Parse(kFile);
    const IniText text(kFile);
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(std::wstring(c.section) + L" / " + c.key));
        EXPECT_EQ(document.Value(c.section, c.key), c.value) << "the installer's writer";
        EXPECT_EQ(text.Find(c.section, c.key), c.value) << "the shared reader";
    }
}

// A key written under another spelling of its name replaces the value in
// place; the file keeps the spelling it had.
TEST(IniNames, WritingUnderAnotherCaseKeepsTheFilesSpelling) {
    IniDocument document = IniDocument::Parse(kFile);
    document.SetValue(L"НАСТРОЙКИ", L"язык", L"ENG");
    EXPECT_EQ(document.Serialize().rfind(L"[Настройки]\r\nЯзык=ENG\r\n", 0), 0u);
    EXPECT_EQ(IniText(document.Serialize()).Find(L"настройки", L"ЯЗЫК"), L"ENG");
}

TEST(IniNames, FoldedNamesAreLowerCaseLetterForLetter) {
    EXPECT_EQ(FoldedIniName(L"ЁЖИК Ђ Options 1[]"), L"ёжик ђ options 1[]");
    EXPECT_TRUE(SameIniName(L"ХОЛТЕР", L"холтер"));
    EXPECT_FALSE(SameIniName(L"холтер", L"холтер "));
}

}  // namespace
