// The text side of the shared log: entry lines, the newest-first line list
// with its cap, the file's line splitting and the byte dump. Windows-free.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A local date and time to the second.
struct LogStamp {
    int year, month, day, hour, minute, second;
};

// "DD/MM/YYYY HH:NN:SS: text", where the "/" and ":" of the pattern are
// date_separator and time_separator; the ": " before the text is always a
// plain colon and a blank.
std::wstring LogEntryLine(const LogStamp& at, wchar_t date_separator, wchar_t time_separator,
                          std::wstring_view text);

// Puts line at index 0 and removes the oldest (last) lines beyond max_lines.
void AddNewest(std::vector<std::wstring>& lines, std::wstring line, std::size_t max_lines);

// Appends older lines below lines, then removes the oldest beyond max_lines.
void AddOlder(std::vector<std::wstring>& lines, std::vector<std::wstring> older, std::size_t max_lines);

// The lines of a file's text, split as ForEachLine (base/strings.h) does.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// Every line followed by CR LF, the last one included.
std::wstring JoinLines(const std::vector<std::wstring>& lines);

// Two upper-case hexadecimal digits and one blank for each byte, in order.
std::wstring HexDump(std::span<const unsigned char> bytes);
