#include "shared/ini_text.h"

#include "base/strings.h"
#include "shared/settings_values.h"

IniText::IniText(std::wstring_view text) {
    ForEachLine(text, [&](std::wstring_view raw) {
        const std::wstring_view line = TrimControlView(raw);
        if (line.empty() || line.front() == L';') return;
        if (line.front() == L'[') {
            const std::size_t close = line.find(L']');
            if (close != std::wstring::npos) {
                std::wstring name = TrimControl(line.substr(1, close - 1));
                index_.emplace(FoldedIniName(name), sections_.size());
                sections_.push_back({std::move(name), {}});
            }
            return;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || sections_.empty()) return;
        sections_.back().keys.emplace_back(TrimControl(line.substr(0, equals)), line.substr(equals + 1));
    });
}

std::optional<std::wstring> IniText::Find(std::wstring_view section, std::wstring_view key) const {
    // Only the first section of that name counts.
    const auto found = index_.find(FoldedIniName(section));
    if (found == index_.end()) return std::nullopt;
    for (const auto& [name, value] : sections_[found->second].keys)
        if (SameIniName(name, key)) return value;
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
