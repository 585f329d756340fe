#include "shared/log_lines.h"

#include <iterator>

#include "base/strings.h"

namespace {

void AppendTwoDigits(std::wstring& out, int value) {
    out += static_cast<wchar_t>(L'0' + value / 10 % 10);
    out += static_cast<wchar_t>(L'0' + value % 10);
}

}  // namespace

std::wstring LogEntryLine(const LogStamp& at, wchar_t date_separator, wchar_t time_separator,
                          std::wstring_view text) {
    std::wstring line;
    line.reserve(21 + text.size());
    AppendTwoDigits(line, at.day);
    line += date_separator;
    AppendTwoDigits(line, at.month);
    line += date_separator;
    AppendTwoDigits(line, at.year / 100);
    AppendTwoDigits(line, at.year % 100);
    line += L' ';
    AppendTwoDigits(line, at.hour);
    line += time_separator;
    AppendTwoDigits(line, at.minute);
    line += time_separator;
    AppendTwoDigits(line, at.second);
    line += L": ";
    line += text;
    return line;
}

void AddNewest(std::vector<std::wstring>& lines, std::wstring line, std::size_t max_lines) {
    lines.insert(lines.begin(), std::move(line));
    if (lines.size() > max_lines) lines.resize(max_lines);
}

void AddOlder(std::vector<std::wstring>& lines, std::vector<std::wstring> older, std::size_t max_lines) {
    lines.insert(lines.end(), std::make_move_iterator(older.begin()), std::make_move_iterator(older.end()));
    if (lines.size() > max_lines) lines.resize(max_lines);
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    ForEachLine(text, [&](std::wstring_view line) { lines.emplace_back(line); });
    return lines;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::size_t size = 0;
    for (const std::wstring& line : lines) size += line.size() + 2;
    std::wstring text;
    text.reserve(size);
    for (const std::wstring& line : lines) {
        text += line;
        text += L"\r\n";
    }
    return text;
}

std::wstring HexDump(std::span<const unsigned char> bytes) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring dump;
    dump.reserve(bytes.size() * 3);
    for (const unsigned char b : bytes) {
        dump += kDigits[b >> 4];
        dump += kDigits[b & 0x0F];
        dump += L' ';
    }
    return dump;
}
