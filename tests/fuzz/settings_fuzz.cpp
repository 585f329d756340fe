// Whatever a settings or language file holds, reading it never fails, keeps
// its values within their bounds, and every accepted number reads back the
// same when written plainly.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/utf8.h"
#include "shared/VH_Common_Const.h"
#include "shared/VH_Common_Proc.h"
#include "shared/ini_text.h"
#include "shared/log_lines.h"
#include "shared/settings_values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const IniText ini(text);
    SettingsFromIni(ini);
    InitializeCommonConst();
    TranslateVocabulary(ini);
    for (const std::wstring& entry : DiseaseText)
        if (entry.size() > kMaxValueLength) std::abort();

    const std::wstring value = ProfileString(text);
    if (value.size() > kMaxValueLength) std::abort();
    if (const auto integer = ParseIniInteger(value);
        integer && ParseIniInteger(std::to_wstring(*integer)) != integer)
        std::abort();
    if (const auto number = ParseIniDouble(value); number && !std::isfinite(*number)) std::abort();

    const auto lines = SplitLines(text);
    if (SplitLines(JoinLines(lines)) != lines) std::abort();
    return 0;
}
