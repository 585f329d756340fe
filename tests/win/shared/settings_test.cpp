// The shared settings and the language selection read from real holter.ini
// files, in the ANSI code page and in UTF-16.
#include <windows.h>

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/text_encoding.h"
#include "base/text_file.h"
#include "shared/VH_Common_Proc.h"
#include "shared/VH_Common_Var.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

class SettingsFile : public testing::Test {
protected:
    // holter.ini in the Settings folder of the temporary program folder.
    std::wstring Write(const std::wstring& text, TextEncoding encoding = TextEncoding::Ansi) {
        CreateDirectoryW((temp / L"Settings").c_str(), nullptr);
        const std::wstring path = temp / L"Settings\\holter.ini";
        WriteFileBytes(path, encoding == TextEncoding::Ansi ? ToAnsi(text) : EncodeUnicode(text, encoding));
        return path;
    }
    void TearDown() override { FinalizeCommonVar(); }

    TempFolder temp;
};

TEST_F(SettingsFile, NoFileGivesTheDefaultsAndRussian) {
    InitializeCommonVarAt(temp.path());
    EXPECT_EQ(ExeDir, temp.path());
    EXPECT_FALSE(Settings.forGE);
    EXPECT_EQ(Settings.FilterType, 0);
    EXPECT_EQ(Settings.DefaultRegType, Tregtype::rt0);
    EXPECT_TRUE(Settings.doformshow);
    EXPECT_EQ(Settings.ChannelGain, 1.0);
    EXPECT_EQ(Settings.ChannelGain12, 1.0);
    EXPECT_EQ(Settings.HardwareType, 1);
    EXPECT_EQ(Settings.LanguageSetting, L"");
    EXPECT_TRUE(Settings.NurseMode && Settings.DoctorMode);
    EXPECT_FALSE(Settings.DebugPrint || Settings.PraktikaTesting || Settings.EMIASTESTINGMODE);
    EXPECT_EQ(LangCode, L"RUS");
    EXPECT_EQ(LangFile, L"");
    EXPECT_EQ(AtesInDir, temp / L"AtesIn\\");
    EXPECT_EQ(AtesOutDir, temp / L"AtesOut\\");
    EXPECT_EQ(StartXml, TStartXmlObject());
    EXPECT_EQ(ResInstance, nullptr);
}

TEST_F(SettingsFile, OnlyExactlyEngSelectsEnglish) {
    const struct {
        const wchar_t* value;
        bool english;
    } cases[] = {
        {L"ENG", true},  {L" ENG ", true},     {L"\"ENG\"", true}, {L"eng", false},
        {L"Eng", false}, {L"\" ENG\"", false}, {L"RUS", false},    {L"", false},
    };
    for (const auto& c : cases) {
        Write(std::wstring(L"[Options]\r\nLanguageSetting=") + c.value + L"\r\n");
        InitializeCommonVarAt(temp.path());
        EXPECT_EQ(LangCode, c.english ? L"ENG" : L"RUS") << testing::PrintToString(c.value);
        EXPECT_EQ(LangFile, c.english ? temp / L"Settings\\EngView.lng" : L"") << testing::PrintToString(c.value);
    }
}

TEST_F(SettingsFile, ValueRulesHoldInAnsiAndUtf16Files) {
    const std::wstring text =
        L"; written by hand\r\n"
        L"[options]\r\n"
        L"Channel1Gain=1,5\r\n"
        L"Channel2Gain=1.5\r\n"
        L"doformshow=true\r\n"
        L"DebugPrint=true\r\n"
        L"FilterType=0x0A\r\n"
        L"new_reg=$0A\r\n"
        L"DefaultRegType=258\r\n"
        L"HardwareType=-7\r\n"
        L"LanguageSetting=  'Русский'  \r\n";
    for (const TextEncoding encoding : {TextEncoding::Ansi, TextEncoding::Utf16Le}) {
        const TSettings s = ReadSettingsFile(Write(text, encoding));
        EXPECT_EQ(s.ChannelGain, 1.0);
        EXPECT_EQ(s.ChannelGain12, 1.5);
        EXPECT_TRUE(s.doformshow);
        EXPECT_FALSE(s.DebugPrint);
        EXPECT_EQ(s.FilterType, 10);
        EXPECT_EQ(s.New_Reg, 10);
        EXPECT_EQ(s.DefaultRegType, static_cast<Tregtype>(2));
        EXPECT_EQ(s.HardwareType, -7);
        EXPECT_EQ(s.LanguageSetting, L"Русский");
    }
}

TEST_F(SettingsFile, OnlyTheUtf16LittleEndianMarkIsUnderstood) {
    // Any other file is read in the ANSI code page, marks and all: the
    // mark's bytes become part of the first line.
    const std::wstring text = L"[options]\r\nHardwareType=5\r\n";
    EXPECT_EQ(ReadSettingsFile(Write(text, TextEncoding::Utf16Le)).HardwareType, 5);
    EXPECT_EQ(ReadSettingsFile(Write(text, TextEncoding::Utf8)).HardwareType, 1);
    EXPECT_EQ(ReadSettingsFile(Write(L"\r\n" + text, TextEncoding::Utf8)).HardwareType, 5);
}

TEST_F(SettingsFile, TheInstallersWrittenFileReadsBackAsTheDefaults) {
    // holter.ini as the installation leaves it: the package's own keys plus
    // the two the installer sets.
    const TSettings s = ReadSettingsFile(
        Write(L"[Common]\r\nDisk=C\r\n\r\n[options]\r\nNurseMode=1\r\nFilterType=0\r\nHardwareType=1\r\n\r\n"));
    const TSettings defaults = ReadSettingsFile(temp / L"absent.ini");
    EXPECT_EQ(s.FilterType, defaults.FilterType);
    EXPECT_EQ(s.HardwareType, defaults.HardwareType);
    EXPECT_EQ(s, defaults);
}

TEST_F(SettingsFile, ReadingFixesThePointAsDecimalSeparator) {
    ASSERT_NE(std::setlocale(LC_ALL, "Russian"), nullptr);
    ASSERT_EQ(std::to_wstring(0.5), L"0,500000");
    ReadSettingsFile(temp / L"absent.ini");
    EXPECT_EQ(std::to_wstring(0.5), L"0.500000");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
