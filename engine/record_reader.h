// The installation record read back, for the removal: which files the
// installation put where, and the SHA-256 of each as it was installed.
// Windows-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One file line of the record.
struct RecordedFile {
    std::wstring path;           // relative to the install folder, or full (fonts)
    std::wstring installedHash;  // 64 lower-case hexadecimal digits, or empty when none was taken
    std::wstring verdict;
};

struct RecordContent {
    std::wstring installFolder;
    std::wstring releaseLevel;
    std::wstring shortcut;  // the desktop shortcut's full path; empty when none was made
    std::vector<RecordedFile> files;
};

struct RecordReading {
    std::optional<RecordContent> content;
    std::wstring error;  // why text is not a record, naming the line; empty when read
};

// Reads the record's text (decoded, without its byte-order mark): the title
// line, the header ("<label>: <value>" lines up to a blank line), the column
// names, then one line of five tab-separated fields per file, each path
// either full or below the install folder (never "..", a root or a
// stream). A text that does not follow that form is refused with the first
// line at fault; never guesses.
RecordReading ReadInstallationRecord(std::wstring_view text);

// True for a path with a drive or a network share: a file outside the
// install folder (the record names fonts so).
bool IsFullRecordPath(std::wstring_view path);
