#include "engine/ini_document.h"

#include "base/strings.h"

IniDocument IniDocument::Parse(std::wstring_view text) {
    IniDocument document;
    Section* current = nullptr;
    ForEachLine(text, [&](std::wstring_view raw) {
        const std::wstring_view line = TrimControlView(raw);
        if (line.empty() || line.front() == L';') return;
        if (line.front() == L'[' && line.back() == L']' && line.size() >= 2) {
            const std::wstring_view name = TrimControlView(line.substr(1, line.size() - 2));
            current = document.Find(name);
            if (!current) current = &document.AddSection(name);
            return;
        }
        if (!current) return;
        const size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            current->lines.push_back({std::wstring(line), L"", false});
        } else {
            current->lines.push_back(
                {TrimControl(line.substr(0, equals)), TrimControl(line.substr(equals + 1)), true});
        }
    });
    return document;
}

std::wstring IniDocument::Serialize() const {
    std::wstring text;
    for (const Section& section : sections_) {
        text += L"[" + section.name + L"]\r\n";
        for (const Line& line : section.lines)
            text += line.pair ? line.key + L"=" + line.value + L"\r\n" : line.key + L"\r\n";
        text += L"\r\n";
    }
    return text;
}

std::optional<std::wstring> IniDocument::Value(std::wstring_view section, std::wstring_view key) const {
    const Section* found = Find(section);
    if (!found) return std::nullopt;
    for (const Line& line : found->lines)
        if (line.pair && SameIniName(line.key, key)) return line.value;
    return std::nullopt;
}

void IniDocument::SetValue(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    Section* target = Find(section);
    if (!target) target = &AddSection(section);
    for (Line& line : target->lines) {
        if (line.pair && SameIniName(line.key, key)) {
            line.value = value;
            return;
        }
    }
    target->lines.push_back({std::wstring(key), std::wstring(value), true});
}

void IniDocument::SetInteger(std::wstring_view section, std::wstring_view key, long long value) {
    SetValue(section, key, std::to_wstring(value));
}

IniDocument::Section* IniDocument::Find(std::wstring_view name) {
    const auto found = index_.find(FoldedIniName(name));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

const IniDocument::Section* IniDocument::Find(std::wstring_view name) const {
    return const_cast<IniDocument*>(this)->Find(name);
}

IniDocument::Section& IniDocument::AddSection(std::wstring_view name) {
    index_.emplace(FoldedIniName(name), sections_.size());
    sections_.push_back({std::wstring(name), {}});
    return sections_.back();
}
