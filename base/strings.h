// Small text helpers shared by all parts of the program. Windows-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Removes leading and trailing characters with codes up to U+0020 (blanks
// and control characters), as the folder field and settings values need.
std::wstring TrimControl(std::wstring_view text);
// The same, as a view into text (no copy), for parsers of large files.
std::wstring_view TrimControlView(std::wstring_view text);

// Paths inside the program name a folder without its trailing "\" ("C:\Holter"),
// except a drive root, which keeps it ("C:\"); names and relative paths
// are joined to a folder by JoinPath only. A trailing "\" is added only
// where a documented text or a system call asks for one
// (WithTrailingBackslash).

// folder and name joined by one "\": a folder that already ends with "\"
// (a drive root) gets none more; an empty folder gives name, an empty name
// the folder.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);
// name in folder's subfolder sub.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view sub, std::wstring_view name);

// Appends "\" unless text already ends with it. An empty text stays empty.
std::wstring WithTrailingBackslash(std::wstring_view text);

// Removes one trailing "\", except from a drive root such as "C:\": the
// program's form of a folder given from outside (a field, a switch).
std::wstring WithoutTrailingBackslash(std::wstring_view text);

// The folder path is in: the part before its last "\" (a drive root keeps
// its "\"; empty when there is none).
std::wstring FolderOf(std::wstring_view path);

// The part of path after the last "\" (the whole path when none).
std::wstring NameOf(std::wstring_view path);

// Calls visit with each line of text, as a view into text: breaks are CR LF,
// LF or CR; a break at the very end does not start another line; an empty
// text has no lines.
template <typename Visit>
void ForEachLine(std::wstring_view text, Visit&& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) end = text.size();
        visit(text.substr(start, end - start));
        start = end + (text.substr(end, 2) == L"\r\n" ? 2 : 1);
    }
}

// Section and key names of the package's INI files (holter.ini, btooth.ini,
// the language file) match without regard to case, the same for the
// installer's writer and the shared reader: Latin and Cyrillic letters (Ё
// and the other letters of U+0400..U+040F among them) fold to lower case,
// every other character stays as it is.
std::wstring FoldedIniName(std::wstring_view name);
bool SameIniName(std::wstring_view a, std::wstring_view b);
