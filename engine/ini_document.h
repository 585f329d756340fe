// An INI file held whole in memory: sections of key=value lines that are
// found without regard to case, changed in place and written back whole.
// Windows-free; the file edge (reading, encodings, writing) is IniFile.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
public:
    // Reads text with CR LF, LF or CR line ends. Each line is trimmed of
    // characters up to U+0020. Empty lines, lines starting with ";" and lines
    // before the first "[section]" are dropped; a repeated section continues
    // the first one of that name. Around "=" blanks are dropped. Never fails.
    static IniDocument Parse(std::wstring_view text);

    // The whole file: each section as "[name]", its lines, then one empty
    // line; every line ends with CR LF. An empty document gives "".
    std::wstring Serialize() const;

    // The value of key in section, both found without regard to case; none
    // when either is missing.
    std::optional<std::wstring> Value(std::wstring_view section, std::wstring_view key) const;

    // Sets key in section: an existing key keeps its place and spelling and
    // gets the new value, a missing key is added at the end of its section, a
    // missing section at the end of the document. value must not hold line
    // breaks (they would split the line when the file is read back).
    void SetValue(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void SetInteger(std::wstring_view section, std::wstring_view key, long long value);

    bool operator==(const IniDocument&) const = default;

private:
    // A line of a section: key=value, or text without "=", kept as it is.
    struct Line {
        std::wstring key;
        std::wstring value;
        bool pair = true;
        bool operator==(const Line&) const = default;
    };
    struct Section {
        std::wstring name;
        std::vector<Line> lines;
        bool operator==(const Section&) const = default;
    };

    Section* Find(std::wstring_view name);
    const Section* Find(std::wstring_view name) const;
    Section& AddSection(std::wstring_view name);

    std::vector<Section> sections_;
    // Position of each section in sections_, by its case-folded name, so a
    // file of many sections is read in linear time.
    std::unordered_map<std::wstring, size_t> index_;
};
