// A fresh folder under the system's temporary folder, removed with all its
// content (read-only files included) when the test ends.
#pragma once

#include <string>
#include <string_view>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with its trailing "\".
    const std::wstring& path() const { return path_; }
    std::wstring operator/(std::wstring_view name) const { return path_ + std::wstring(name); }

private:
    std::wstring path_;
};

// Deletes a folder tree, clearing read-only, hidden and system attributes
// first. Missing folders are fine.
void RemoveTree(const std::wstring& folder);
// Deletes what a folder holds the same way and keeps the folder.
void EmptyFolder(const std::wstring& folder);
