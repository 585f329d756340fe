// Types shared by the package's programs: the settings record of holter.ini
// and the enumerations it holds. Windows-free.
#pragma once

#include <cstdint>
#include <string>

// How the package's viewer was started; stored in one byte.
enum THViewType : std::uint8_t {
    hvtStandart,
    hvtFragment,
    hvtOnline,
    hvtTest,
    hvtSaveSkr,
    hvtSaveDin,
    hvtAD,
    hvtNone,
};

// The recorder model, codes 0 to 7. This program only stores the code; a
// code read from a file may lie outside the named range and is kept as is.
enum class Tregtype : std::uint8_t { rt0, rt1, rt2, rt3, rt4, rt5, rt6, rt7 };

// The package's settings, in the order the package's programs lay them out.
struct TSettings {
    THViewType HViewType = hvtStandart;
    bool DebugPrint = false;
    bool DebugMy = false;
    bool PoverkaView = false;
    bool HviewDebug = false;
    bool GroupProcess = false;
    bool doformshow = false;
    bool EnabledScrining = false;
    bool ECGAtRestWork = false;
    bool OnlyDecode = false;
    bool SaveSwap = false;
    bool MinmVEnabled = false;
    double ChannelGain = 0;
    double ChannelGain12 = 0;
    std::int32_t HardwareType = 0;
    std::uint8_t FilterType = 0;
    bool CorrectProbeli = false;
    bool forMVD = false;
    bool forGE = false;
    std::uint8_t Person = 0;
    std::wstring LanguageSetting;
    std::uint8_t New_Reg = 0;
    Tregtype DefaultRegType = Tregtype::rt0;
    bool NurseMode = false;
    bool DoctorMode = false;
    bool EMIASTESTINGMODE = false;
    bool EMIASEMULATINGMODE = false;
    bool RegEmulating = false;
    bool AriadnaSearchTesting = false;
    bool UserIsMS = false;
    bool PraktikaSearchTesting = false;
    bool PraktikaTesting = false;

    bool operator==(const TSettings&) const = default;
};
