#include "shared/VH_Common_Proc.h"

#include "base/package_names.h"
#include "shared/VH_Common_Const.h"
#include "shared/settings_values.h"

std::array<std::wstring, 10> ProcText;

namespace {

constexpr VocabularyEntry kProc[] = {
    {L"Sbo", L"СБОЙ"}, {L"Met", L"МЕТКА"}, {nullptr, L""}, {nullptr, L""}, {nullptr, L""},
    {nullptr, L""},    {nullptr, L""},     {nullptr, L""}, {L"nnn", L"н"}, {L"sss", L"с"},
};

std::uint8_t ReadByte(const IniText& file, std::wstring_view key) {
    return ByteInRange(file.ReadInteger(kOptionsSection, key, 0)).value_or(0);
}

// The switches and numbers of the section "options": key, field, default.
struct BoolKey {
    std::wstring_view key;
    bool TSettings::*field;
    bool fallback;
};
constexpr BoolKey kBoolKeys[] = {
    {L"forGE", &TSettings::forGE, false},
    {L"doformshow", &TSettings::doformshow, true},
    {L"DebugPrint", &TSettings::DebugPrint, false},
    {L"DebugMy", &TSettings::DebugMy, false},
    {L"MinmVEnabled", &TSettings::MinmVEnabled, false},
    {L"PoverkaView", &TSettings::PoverkaView, false},
    {L"HviewDebug", &TSettings::HviewDebug, false},
    {L"ECGAtRestWork", &TSettings::ECGAtRestWork, false},
    {L"onlydecode", &TSettings::OnlyDecode, false},
    {L"saveswap", &TSettings::SaveSwap, false},
    {L"GroupProcess", &TSettings::GroupProcess, false},
    {L"EnabledScrining", &TSettings::EnabledScrining, false},
    {L"NurseMode", &TSettings::NurseMode, true},
    {L"DoctorMode", &TSettings::DoctorMode, true},
    {L"EMIASTESTINGMODE", &TSettings::EMIASTESTINGMODE, false},
    {L"EMIASEMULATINGMODE", &TSettings::EMIASEMULATINGMODE, false},
    {L"RegEmulating", &TSettings::RegEmulating, false},
    {L"AriadnaSearchTesting", &TSettings::AriadnaSearchTesting, false},
    {L"UserIsMS", &TSettings::UserIsMS, false},
    {L"PraktikaSearchTesting", &TSettings::PraktikaSearchTesting, false},
    {L"PraktikaTesting", &TSettings::PraktikaTesting, false},
};

struct NumberKey {
    std::wstring_view key;
    double TSettings::*field;
    double fallback;
};
constexpr NumberKey kNumberKeys[] = {
    {L"Channel1Gain", &TSettings::ChannelGain, 1.0},
    {L"Channel2Gain", &TSettings::ChannelGain12, 1.0},
};

}  // namespace

TSettings SettingsFromIni(const IniText& file) {
    TSettings s;
    for (const BoolKey& k : kBoolKeys) s.*k.field = file.ReadBool(kOptionsSection, k.key, k.fallback);
    for (const NumberKey& k : kNumberKeys) s.*k.field = file.ReadFloat(kOptionsSection, k.key, k.fallback);
    s.forMVD = false;
    s.Person = 0;
    s.FilterType = ReadByte(file, L"FilterType");
    s.DefaultRegType = static_cast<Tregtype>(file.ReadInteger(kOptionsSection, L"DefaultRegType", 0) & 0xFF);
    s.HardwareType = file.ReadInteger(kOptionsSection, L"HardwareType", 1);
    s.LanguageSetting = file.ReadString(kOptionsSection, L"LanguageSetting", L"");
    s.New_Reg = ReadByte(file, L"new_reg");
    return s;
}

void TranslateVocabulary(const IniText& language_file) {
    TranslateCommonConst(language_file);
    TranslateList(ProcText, kProc, language_file, L"VH_Common_Proc");
}

void FinalizeCommonProc() {
    ProcText = {};
}
