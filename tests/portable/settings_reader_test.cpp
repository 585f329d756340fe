// The settings record and the language file lookups as the package's
// programs read them from INI text.
#include <gtest/gtest.h>

#include <string>

#include "shared/VH_Common_Proc.h"
#include "shared/ini_text.h"

namespace {

TSettings FromOptions(const std::wstring& lines) {
    return SettingsFromIni(IniText(L"[options]\r\n" + lines));
}

TEST(SettingsFromIni, NoFileGivesTheDocumentedDefaults) {
    TSettings expected;
    expected.doformshow = true;
    expected.ChannelGain = 1.0;
    expected.ChannelGain12 = 1.0;
    expected.HardwareType = 1;
    expected.NurseMode = true;
    expected.DoctorMode = true;
    EXPECT_EQ(SettingsFromIni(IniText()), expected);
    // Keys outside "options" do not count.
    EXPECT_EQ(SettingsFromIni(IniText(L"[other]\nforGE=1\nHardwareType=5\n")), expected);
}

TEST(SettingsFromIni, ReadsEveryKeyIntoItsField) {
    const TSettings s = FromOptions(
        L"forGE=1\nFilterType=3\nDefaultRegType=5\ndoformshow=0\nDebugPrint=1\nDebugMy=1\nMinmVEnabled=1\n"
        L"PoverkaView=1\nHviewDebug=1\nECGAtRestWork=1\nonlydecode=1\nsaveswap=1\nChannel1Gain=2.5\n"
        L"Channel2Gain=0.5\nGroupProcess=1\nEnabledScrining=1\nHardwareType=-4\nLanguageSetting=ENG\n"
        L"new_reg=7\nNurseMode=0\nDoctorMode=0\nEMIASTESTINGMODE=1\nEMIASEMULATINGMODE=1\nRegEmulating=1\n"
        L"AriadnaSearchTesting=1\nUserIsMS=1\nPraktikaSearchTesting=1\nPraktikaTesting=1\n"
        // never read from the file
        L"HViewType=3\nCorrectProbeli=1\nforMVD=1\nPerson=9\n");
    EXPECT_TRUE(s.forGE);
    EXPECT_EQ(s.FilterType, 3);
    EXPECT_EQ(s.DefaultRegType, Tregtype::rt5);
    EXPECT_FALSE(s.doformshow);
    EXPECT_TRUE(s.DebugPrint && s.DebugMy && s.MinmVEnabled && s.PoverkaView && s.HviewDebug);
    EXPECT_TRUE(s.ECGAtRestWork && s.OnlyDecode && s.SaveSwap && s.GroupProcess && s.EnabledScrining);
    EXPECT_EQ(s.ChannelGain, 2.5);
    EXPECT_EQ(s.ChannelGain12, 0.5);
    EXPECT_EQ(s.HardwareType, -4);
    EXPECT_EQ(s.LanguageSetting, L"ENG");
    EXPECT_EQ(s.New_Reg, 7);
    EXPECT_FALSE(s.NurseMode || s.DoctorMode);
    EXPECT_TRUE(s.EMIASTESTINGMODE && s.EMIASEMULATINGMODE && s.RegEmulating && s.AriadnaSearchTesting);
    EXPECT_TRUE(s.UserIsMS && s.PraktikaSearchTesting && s.PraktikaTesting);
    EXPECT_EQ(s.HViewType, hvtStandart);
    EXPECT_FALSE(s.CorrectProbeli || s.forMVD);
    EXPECT_EQ(s.Person, 0);
}

TEST(SettingsFromIni, AppliesTheValueRules) {
    EXPECT_EQ(FromOptions(L"LanguageSetting= ENG \n").LanguageSetting, L"ENG");
    EXPECT_EQ(FromOptions(L"LanguageSetting=\"ENG\"\n").LanguageSetting, L"ENG");
    EXPECT_EQ(FromOptions(L"LanguageSetting=eng\n").LanguageSetting, L"eng");
    EXPECT_EQ(FromOptions(L"Channel1Gain=1,5\n").ChannelGain, 1.0);
    EXPECT_EQ(FromOptions(L"Channel1Gain=1.5\n").ChannelGain, 1.5);
    EXPECT_EQ(FromOptions(L"Channel2Gain=\n").ChannelGain12, 1.0);
    EXPECT_TRUE(FromOptions(L"doformshow=true\n").doformshow);  // only because true is the default
    EXPECT_FALSE(FromOptions(L"DebugPrint=true\n").DebugPrint);
    EXPECT_TRUE(FromOptions(L"DebugPrint=-3\n").DebugPrint);
    EXPECT_FALSE(FromOptions(L"NurseMode=$0\n").NurseMode);
    EXPECT_EQ(FromOptions(L"FilterType=0x0A\n").FilterType, 10);
    EXPECT_EQ(FromOptions(L"FilterType=$0A\n").FilterType, 10);
    EXPECT_EQ(FromOptions(L"FilterType=255\n").FilterType, 255);
    EXPECT_EQ(FromOptions(L"FilterType=256\n").FilterType, 0);
    EXPECT_EQ(FromOptions(L"FilterType=-1\n").FilterType, 0);
    EXPECT_EQ(FromOptions(L"new_reg=300\n").New_Reg, 0);
    EXPECT_EQ(FromOptions(L"DefaultRegType=258\n").DefaultRegType, static_cast<Tregtype>(2));
    EXPECT_EQ(FromOptions(L"DefaultRegType=-1\n").DefaultRegType, static_cast<Tregtype>(255));
    EXPECT_EQ(FromOptions(L"HardwareType=abc\n").HardwareType, 1);
}

TEST(SettingsFromIni, TheInstallersOwnKeysReadBackAsTheDefaults) {
    const TSettings defaults = SettingsFromIni(IniText());
    const TSettings written = FromOptions(L"FilterType=0\r\nHardwareType=1\r\n");
    EXPECT_EQ(written.FilterType, defaults.FilterType);
    EXPECT_EQ(written.HardwareType, defaults.HardwareType);
}

TEST(IniText, FindsKeysTheWayTheProfileFunctionsDo) {
    const IniText ini(
        L"top=before any section\r\n"
        L"; [options]\r\n"
        L"  [ Options ]  \r\n"
        L"  Key  =  value with = sign  \n"
        L"key=second spelling\r"
        L"no equals sign\n"
        L"Empty=\n"
        L"[options]\n"
        L"later=only in the repeated section\n"
        L"[Other]\n"
        L"Key=other\n");
    EXPECT_EQ(ini.Find(L"options", L"KEY"), L"  value with = sign");
    EXPECT_EQ(ini.Find(L"OPTIONS", L"empty"), L"");
    EXPECT_EQ(ini.Find(L"other", L"key"), L"other");
    EXPECT_EQ(ini.Find(L"options", L"top"), std::nullopt);
    EXPECT_EQ(ini.Find(L"options", L"later"), std::nullopt);
    EXPECT_EQ(ini.Find(L"options", L"no equals sign"), std::nullopt);
    EXPECT_EQ(ini.Find(L"missing", L"key"), std::nullopt);
    EXPECT_EQ(ini.ReadString(L"options", L"key", L"d"), L"value with = sign");
    EXPECT_EQ(ini.ReadString(L"options", L"empty", L"d"), L"");
    EXPECT_EQ(ini.ReadString(L"options", L"absent", L"d"), L"d");
}

}  // namespace
