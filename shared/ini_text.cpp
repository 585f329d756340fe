#include "shared/ini_text.h"

#include "base/strings.h"
#include "shared/settings_values.h"

IniText::IniText(std::wstring_view text) {
    ForEachLine(text, [&](std::wstring_view raw) {
        const std::wstring line = TrimControl(raw);
        if (line.empty() || line.front() == L';') return;
        if (line.front() == L'[') {
            const std::size_t close = line.find(L']');
            if (close != std::wstring::npos) sections_.push_back({TrimControl(line.substr(1, close - 1)), {}});
            return;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || sections_.empty()) return;
        sections_.back().keys.emplace_back(TrimControl(line.substr(0, equals)), line.substr(equals + 1));
    });
}

std::optional<std::wstring> IniText::Find(std::wstring_view section, std::wstring_view key) const {
    for (const Section& s : sections_) {
        if (!EqualsIgnoreAsciiCase(s.name, section)) continue;
        for (const auto& [name, value] : s.keys)
            if (EqualsIgnoreAsciiCase(name, key)) return value;
        return std::nullopt;  // only the first section of that name counts
    }
    return std::nullopt;
}

std::wstring IniText::ReadString(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view fallback) const {
    const std::optional<std::wstring> raw = Find(section, key);
    return raw ? ProfileString(*raw) : std::wstring(fallback);
}

std::int32_t IniText::ReadInteger(std::wstring_view section, std::wstring_view key, std::int32_t fallback) const {
    const std::optional<std::wstring> raw = Find(section, key);
    if (!raw) return fallback;
    return ParseIniInteger(ProfileString(*raw)).value_or(fallback);
}

bool IniText::ReadBool(std::wstring_view section, std::wstring_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

double IniText::ReadFloat(std::wstring_view section, std::wstring_view key, double fallback) const {
    const std::optional<std::wstring> raw = Find(section, key);
    if (!raw) return fallback;
    return ParseIniDouble(ProfileString(*raw)).value_or(fallback);
}
