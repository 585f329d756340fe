#include "shared/VH_Common_Proc.h"

#include "shared/VH_Common_Const.h"
#include "shared/settings_values.h"

std::array<std::wstring, 10> ProcText;

namespace {

constexpr VocabularyEntry kProc[] = {
    {L"Sbo", L"СБОЙ"}, {L"Met", L"МЕТКА"}, {nullptr, L""}, {nullptr, L""}, {nullptr, L""},
    {nullptr, L""},    {nullptr, L""},     {nullptr, L""}, {L"nnn", L"н"}, {L"sss", L"с"},
};

constexpr std::wstring_view kOptions = L"options";

std::uint8_t ReadByte(const IniText& file, std::wstring_view key) {
    return ByteInRange(file.ReadInteger(kOptions, key, 0)).value_or(0);
}

}  // namespace

TSettings SettingsFromIni(const IniText& file) {
    const auto boolean = [&](std::wstring_view key, bool fallback) {
        return file.ReadBool(kOptions, key, fallback);
    };
    TSettings s;
    s.forMVD = false;
    s.forGE = boolean(L"forGE", false);
    s.Person = 0;
    s.FilterType = ReadByte(file, L"FilterType");
    s.DefaultRegType = static_cast<Tregtype>(file.ReadInteger(kOptions, L"DefaultRegType", 0) & 0xFF);
    s.doformshow = boolean(L"doformshow", true);
    s.DebugPrint = boolean(L"DebugPrint", false);
    s.DebugMy = boolean(L"DebugMy", false);
    s.MinmVEnabled = boolean(L"MinmVEnabled", false);
    s.PoverkaView = boolean(L"PoverkaView", false);
    s.HviewDebug = boolean(L"HviewDebug", false);
    s.ECGAtRestWork = boolean(L"ECGAtRestWork", false);
    s.OnlyDecode = boolean(L"onlydecode", false);
    s.SaveSwap = boolean(L"saveswap", false);
    s.ChannelGain = file.ReadFloat(kOptions, L"Channel1Gain", 1.0);
    s.ChannelGain12 = file.ReadFloat(kOptions, L"Channel2Gain", 1.0);
    s.GroupProcess = boolean(L"GroupProcess", false);
    s.EnabledScrining = boolean(L"EnabledScrining", false);
    s.HardwareType = file.ReadInteger(kOptions, L"HardwareType", 1);
    s.LanguageSetting = file.ReadString(kOptions, L"LanguageSetting", L"");
    s.New_Reg = ReadByte(file, L"new_reg");
    s.NurseMode = boolean(L"NurseMode", true);
    s.DoctorMode = boolean(L"DoctorMode", true);
    s.EMIASTESTINGMODE = boolean(L"EMIASTESTINGMODE", false);
    s.EMIASEMULATINGMODE = boolean(L"EMIASEMULATINGMODE", false);
    s.RegEmulating = boolean(L"RegEmulating", false);
    s.AriadnaSearchTesting = boolean(L"AriadnaSearchTesting", false);
    s.UserIsMS = boolean(L"UserIsMS", false);
    s.PraktikaSearchTesting = boolean(L"PraktikaSearchTesting", false);
    s.PraktikaTesting = boolean(L"PraktikaTesting", false);
    return s;
}

void TranslateVocabulary(const IniText& language_file) {
    TranslateCommonConst(language_file);
    TranslateList(ProcText, kProc, language_file, L"VH_Common_Proc");
}

void FinalizeCommonProc() {
    ProcText = {};
}
