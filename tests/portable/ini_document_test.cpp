// The INI document: what is kept, dropped and changed between reading a
// settings file and writing it back.
#include <gtest/gtest.h>

#include "engine/ini_document.h"

namespace {

struct TextCase {
    const char* what;
    std::wstring_view input;
    std::wstring_view written;
};

TEST(IniDocument, WritesBackWhatItKeepsInItsOwnForm) {
    const TextCase cases[] = {
        {"empty", L"", L""},
        {"comments, blanks and lines before the first section dropped",
         L"loose=1\r\n; note\r\n\r\n[a]\r\n\r\n  ;indented note\r\nk=v\r\n", L"[a]\r\nk=v\r\n\r\n"},
        {"LF and CR line ends", L"[a]\nk=v\r[b]\rq=1", L"[a]\r\nk=v\r\n\r\n[b]\r\nq=1\r\n\r\n"},
        {"blanks around names and \"=\"", L"[ s ]\r\n  key = some value \t\r\n", L"[s]\r\nkey=some value\r\n\r\n"},
        {"a line without \"=\" kept", L"[s]\r\nplain text\r\n", L"[s]\r\nplain text\r\n\r\n"},
        {"a value holding \"=\"", L"[s]\r\na=b=c", L"[s]\r\na=b=c\r\n\r\n"},
        {"an empty section", L"[empty]", L"[empty]\r\n\r\n"},
        {"a repeated section continues the first", L"[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n",
         L"[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n\r\n"},
        {"Cyrillic kept", L"[Общие]\r\nИмя=Значение\r\n", L"[Общие]\r\nИмя=Значение\r\n\r\n"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(IniDocument::Parse(c.input).Serialize(), c.written) << c.what;
}

struct SetCase {
    const char* what;
    std::wstring_view input;
    std::wstring_view section, key, value;
    std::wstring_view written;
};

TEST(IniDocument, SetKeepsPlaceAndSpellingOrAppends) {
    const SetCase cases[] = {
        {"existing key keeps its place and spelling", L"[Options]\r\nfiltertype=3\r\nOther=x\r\n", L"options",
         L"FilterType", L"0", L"[Options]\r\nfiltertype=0\r\nOther=x\r\n\r\n"},
        {"missing key goes to the end of its section", L"[options]\r\nA=1\r\n[later]\r\nB=2\r\n", L"options",
         L"HardwareType", L"1", L"[options]\r\nA=1\r\nHardwareType=1\r\n\r\n[later]\r\nB=2\r\n\r\n"},
        {"missing section goes to the end", L"[a]\r\nk=v\r\n", L"Common", L"Disk", L"I",
         L"[a]\r\nk=v\r\n\r\n[Common]\r\nDisk=I\r\n\r\n"},
        {"the same key in another section is not touched", L"[a]\r\nFilterType=5\r\n[options]\r\n", L"options",
         L"FilterType", L"0", L"[a]\r\nFilterType=5\r\n\r\n[options]\r\nFilterType=0\r\n\r\n"},
        {"a line without \"=\" is no key", L"[s]\r\nDisk\r\n", L"s", L"Disk", L"I",
         L"[s]\r\nDisk\r\nDisk=I\r\n\r\n"},
        {"Cyrillic names compare without case", L"[Настройки]\r\nКлюч=1\r\n", L"настройки", L"ключ", L"2",
         L"[Настройки]\r\nКлюч=2\r\n\r\n"},
        {"an empty value", L"[s]\r\nk=v\r\n", L"S", L"K", L"", L"[s]\r\nk=\r\n\r\n"},
    };
    for (const SetCase& c : cases) {
        IniDocument document = IniDocument::Parse(c.input);
        document.SetValue(c.section, c.key, c.value);
        EXPECT_EQ(document.Serialize(), c.written) << c.what;
    }
}

TEST(IniDocument, NewSettingsFileHoldsExactlyTheTwoKeys) {
    IniDocument document;
    document.SetInteger(L"options", L"FilterType", 0);
    document.SetInteger(L"options", L"HardwareType", 1);
    EXPECT_EQ(document.Serialize(), L"[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n");
}

TEST(IniDocument, ReadModifyWriteRereadKeepsEveryOtherKey) {
    const std::wstring_view original =
        L"; written by the package\r\n"
        L"[Common]\r\nLanguage=1\r\nDisk=C\r\n\r\n"
        L"[options]\r\nFilterType=4\r\nMonitor=2\r\nHardwareType=7\r\n\r\n"
        L"[Пациент]\r\nФамилия=Иванов\r\n";
    IniDocument document = IniDocument::Parse(original);
    document.SetInteger(L"options", L"FilterType", 0);
    document.SetInteger(L"options", L"HardwareType", 1);

    const IniDocument reread = IniDocument::Parse(document.Serialize());
    EXPECT_EQ(reread, document);
    const std::wstring text = reread.Serialize();
    EXPECT_LT(text.find(L"[Common]"), text.find(L"[options]")) << "sections keep their order";
    EXPECT_LT(text.find(L"[options]"), text.find(L"[Пациент]"));
    EXPECT_NE(text.find(L"[Пациент]"), std::wstring::npos);
    EXPECT_EQ(reread.Value(L"OPTIONS", L"filtertype"), L"0");
    EXPECT_EQ(reread.Value(L"options", L"HardwareType"), L"1");
    EXPECT_EQ(reread.Value(L"options", L"Monitor"), L"2");
    EXPECT_EQ(reread.Value(L"Common", L"Language"), L"1");
    EXPECT_EQ(reread.Value(L"Common", L"Disk"), L"C");
    EXPECT_EQ(reread.Value(L"пациент", L"ФАМИЛИЯ"), L"Иванов");
    EXPECT_EQ(reread.Value(L"options", L"Missing"), std::nullopt);
    EXPECT_EQ(reread.Value(L"Missing", L"FilterType"), std::nullopt);
}

}  // namespace
