// Thin file-system queries and whole-file reads and writes on Win32.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// True when path names an existing folder (a link to a folder counts).
bool DirectoryExists(std::wstring_view path);

// True when path names an existing file that is not a folder.
bool FileExists(std::wstring_view path);

// Full path of the running executable.
std::wstring ModulePath();

// Folder of the running executable.
std::wstring ModuleFolder();

// folder itself when it exists, else its nearest existing parent (as a full
// path); empty when not even its root is there. Never "\" or "\\" alone,
// which name no volume of their own.
std::wstring NearestExistingFolder(std::wstring_view folder);

// Whether two file names (or paths) are the same to the file system: equal
// without regard to case, letter by letter as NTFS compares them.
bool SameFileName(std::wstring_view a, std::wstring_view b);

// The most a whole-file read takes by default: far above any settings,
// language or log file of the package, and low enough that the bytes and
// their decoded text fit in a 32-bit process.
inline constexpr unsigned long long kWholeFileLimit = 64ull << 20;

// Reads a whole file of at most limit bytes. Raises Error "Cannot open file
// "<path>". <system text>" when it cannot be opened, "Cannot read file
// "<path>". The file is larger than <limit> bytes" when it is larger (nothing
// is read then), and "Cannot read file "<path>". <system text>" when reading
// fails.
std::vector<unsigned char> ReadWholeFile(std::wstring_view path, unsigned long long limit = kWholeFileLimit);

// Replaces path with data so that a crash or a full disk never leaves a
// truncated file: the bytes go to a temporary file in the same folder
// (created new: nothing already at its name, a link included, is ever
// written through), are flushed, and the temporary file is moved over path. A file that exists
// keeps its access list and its hidden, system and archive attributes, and is
// swapped with ReplaceFileW. On any failure the old file is untouched, the
// temporary file is removed and Error is raised with "Cannot create file
// "<path>". <system text>".
void WriteWholeFileAtomically(std::wstring_view path, const void* data, size_t size);

// The call that swaps a file for its replacement: ReplaceFileW, unless a
// test put in one that stops half-way, as ReplaceFileW documents it may
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT, ..._2, ERROR_UNABLE_TO_REMOVE_REPLACED)
// and as no test machine can make it do on demand.
using ReplaceFileFunction = BOOL(WINAPI*)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                                          LPVOID exclude, LPVOID reserved);
extern ReplaceFileFunction ReplaceFileHook;
