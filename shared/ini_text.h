// An INI document held in memory and read the way the platform's profile
// functions answer: section headers in square brackets, key=value lines,
// names compared without regard to case. Windows-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniText {
public:
    // An empty document: every lookup misses.
    IniText() = default;

    // Parses text. Lines end at CR, LF or CR LF. Lines starting with ";",
    // lines without "=" and keys before the first section are ignored.
    // Never fails.
    explicit IniText(std::wstring_view text);

    // The text after the first "=" of the first key named key in the first
    // section named section (names trimmed, case folded by FoldedIniName);
    // nullopt when the section or the key is missing.
    std::optional<std::wstring> Find(std::wstring_view section, std::wstring_view key) const;

    // Typed readers: the value by the rules of settings_values.h, or
    // fallback when the key is missing or its value does not parse. A key
    // present with an empty value gives an empty string.
    std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view fallback) const;
    std::int32_t ReadInteger(std::wstring_view section, std::wstring_view key, std::int32_t fallback) const;
    bool ReadBool(std::wstring_view section, std::wstring_view key, bool fallback) const;
    double ReadFloat(std::wstring_view section, std::wstring_view key, double fallback) const;

private:
    struct Section {
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> keys;
    };
    std::vector<Section> sections_;
    // Position of the first section of each name (FoldedIniName) in
    // sections_, so lookups in a file of many sections stay cheap.
    std::unordered_map<std::wstring, std::size_t> index_;
};
