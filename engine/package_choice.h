// Choosing the newest update package below the install folder's "backup\".
// A package folder's name ends in its date as DDMMYY; the newest date wins.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The date key text of a package folder path: its last six characters
// c1..c6 (DDMMYY) rearranged as c5 c6 c3 c4 c1 c2 (YYMMDD), so that keys
// compare as numbers in date order ("...\U250918" gives "180925"). A path
// shorter than six characters is its own key. Windows-free.
std::wstring PackageDateKey(std::wstring_view path);

// The index of the newest package in paths, which are already in their
// final order: every key is converted in list order, and an entry replaces
// the best one only with a strictly greater key, so among equal keys the
// first entry wins. Raises Error "List index out of bounds (0)" for an
// empty list and "'<key>' is not a valid integer value" for the first key
// that is not a whole number. Windows-free.
size_t ChooseNewestPackage(const std::vector<std::wstring>& paths);

// The full path of the newest package folder in installFolder's "backup": its
// subfolders as ListSubfolders gives them, sorted by the user locale's
// case-insensitive comparison, then chosen as above. Raises the errors of
// ChooseNewestPackage.
std::wstring FindNewestPackage(std::wstring_view installFolder);
