#include "engine/record_reader.h"

#include <algorithm>

#include "base/strings.h"
#include "engine/record_format.h"

namespace {

std::vector<std::wstring_view> Fields(std::wstring_view line, wchar_t delimiter) {
    std::vector<std::wstring_view> fields;
    for (size_t start = 0;;) {
        const size_t end = line.find(delimiter, start);
        fields.push_back(
            line.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos) return fields;
        start = end + 1;
    }
}

bool IsDigest(std::wstring_view text) {
    if (text.size() != 64) return false;
    for (const wchar_t c : text)
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) return false;
    return true;
}

// A path below the install folder: no drive, no stream, no root, no "..".
// The settings folder that holds the record is writable by every user, and
// the removal runs with the administrator's rights.
bool StaysInside(std::wstring_view path) {
    if (path.find(L':') != std::wstring_view::npos || path[0] == L'\\' || path[0] == L'/') return false;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find_first_of(L"\\/", start), path.size());
        if (path.substr(start, end - start) == L"..") return false;
        start = end + 1;
    }
    return true;
}

// Where the reader is in the record.
enum class Part { Title, Header, Columns, Files };

class Reader {
public:
    // Takes one line; returns what is wrong with it, or "".
    std::wstring Take(std::wstring_view line) {
        switch (part_) {
            case Part::Title:
                if (line != kRecordTitle) return L"нет заголовка протокола установки";
                part_ = Part::Header;
                return L"";
            case Part::Header:
                return TakeHeader(line);
            case Part::Columns:
                if (Fields(line, L'\t').size() != 5 || Fields(line, L'\t')[0] != kRecordFileColumn)
                    return L"нет строки с названиями столбцов";
                part_ = Part::Files;
                return L"";
            case Part::Files:
                return TakeFile(line);
        }
        return L"";
    }

    // What a text that ends here lacks, or "".
    std::wstring_view Missing() const {
        if (part_ != Part::Files) return L"протокол не полон: нет списка файлов";
        if (content_.installFolder.empty()) return L"в заголовке нет каталога установки";
        return {};
    }

    RecordContent& content() { return content_; }

private:
    std::wstring TakeHeader(std::wstring_view line) {
        if (line.empty()) {
            part_ = Part::Columns;
            return L"";
        }
        const size_t colon = line.find(L": ");
        if (colon == std::wstring_view::npos) return L"строка заголовка без \": \"";
        const std::wstring_view label = line.substr(0, colon);
        const std::wstring value(line.substr(colon + 2));
        if (label == kRecordInstallFolder) content_.installFolder = value;
        if (label == kRecordReleaseLevel) content_.releaseLevel = value;
        if (label == kRecordShortcut) content_.shortcut = value == kRecordNone ? L"" : value;
        return L"";
    }

    std::wstring TakeFile(std::wstring_view line) {
        if (line.empty()) return L"";
        const std::vector<std::wstring_view> fields = Fields(line, L'\t');
        if (fields.size() != 5) return L"в строке файла не пять полей";
        if (fields[0].empty()) return L"в строке файла нет пути";
        if (!IsFullRecordPath(fields[0]) && !StaysInside(fields[0]))
            return L"путь выходит за пределы каталога установки";
        const std::wstring_view installed = fields[3];
        if (installed != kRecordNone && !IsDigest(installed)) return L"неверная сумма SHA-256";
        content_.files.push_back({std::wstring(fields[0]),
                                  installed == kRecordNone ? std::wstring() : std::wstring(installed),
                                  std::wstring(fields[4])});
        return L"";
    }

    Part part_ = Part::Title;
    RecordContent content_;
};

}  // namespace

RecordReading ReadInstallationRecord(std::wstring_view text) {
    Reader reader;
    int number = 0;
    std::wstring error;
    ForEachLine(text, [&](std::wstring_view line) {
        ++number;
        if (error.empty()) {
            const std::wstring problem = reader.Take(line);
            if (!problem.empty()) error = L"строка " + std::to_wstring(number) + L": " + problem;
        }
    });
    if (!error.empty()) return {std::nullopt, error};
    if (const std::wstring_view missing = reader.Missing(); !missing.empty())
        return {std::nullopt, std::wstring(missing)};
    return {std::move(reader.content()), L""};
}

bool IsFullRecordPath(std::wstring_view path) {
    return (path.size() >= 2 && path[1] == L':') || path.rfind(L"\\\\", 0) == 0;
}
