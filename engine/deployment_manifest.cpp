#include "engine/deployment_manifest.h"

#include <array>

namespace {

constexpr std::wstring_view kModernRuntime[] = {
    L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll",  L"icudt30.Dll", L"icuin30.Dll",
    L"icuuc30.Dll",  L"msvcp80.Dll",   L"msvcr80.Dll",  L"firebird.msg", L"gbak.exe",    L"gds32.dll",
};

constexpr std::wstring_view kWindowsXpRuntime[] = {
    L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll", L"icudt30.Dll",
    L"icuin30.Dll",  L"icuuc30.Dll",   L"msvcp71.Dll",  L"msvcr71.Dll", L"firebird.msg",
};

constexpr std::wstring_view kIntlFiles[] = {L"fbintl.conf", L"fbintl.dll"};

constexpr std::wstring_view kRuntimeUdfFiles[] = {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql",
                                                  L"ib_udf2.sql"};

constexpr std::wstring_view kPackageUdfLibraries[] = {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll",
                                                      L"SDecision.Dll"};

constexpr std::array<CopyGroup, 4> MakeGroups(std::span<const std::wstring_view> runtime) {
    return {{
        {L"Firebird", L"", runtime, true},
        {L"Firebird\\intl", L"intl", kIntlFiles, true},
        {L"Firebird\\udf", L"udf", kRuntimeUdfFiles, true},
        {L"UDF", L"udf", kPackageUdfLibraries, false},
    }};
}

constexpr std::array<CopyGroup, 4> kModernGroups = MakeGroups(kModernRuntime);
constexpr std::array<CopyGroup, 4> kWindowsXpGroups = MakeGroups(kWindowsXpRuntime);

// value in decimal, zero-padded to width digits.
std::wstring Digits(int value, size_t width) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < width) text.insert(0, width - text.size(), L'0');
    return text;
}

}  // namespace

std::span<const CopyGroup> CopyGroups(RuntimeChoice runtime) {
    if (runtime == RuntimeChoice::Modern) return kModernGroups;
    return kWindowsXpGroups;
}

std::wstring DatabaseBackupName(const LocalDateTime& moment, int copy) {
    return std::wstring(kDatabaseFile) + L"." + Digits(moment.year, 4) + Digits(moment.month, 2) +
           Digits(moment.day, 2) + L"-" + Digits(moment.hour, 2) + Digits(moment.minute, 2) +
           Digits(moment.second, 2) + (copy > 1 ? L"-" + std::to_wstring(copy) : L"") + L".bak";
}
