// One timed copy of a large file, by the installer's own copy or by the
// platform's CopyFileW, into a destination that does not exist yet.
#pragma once

#include <string>

// Copies source to destination with method "withdate" (CopyFileWithDate) or
// "copyfilew" (CopyFileW), after deleting any old destination, and prints
// "copy_seconds <s>" to stdout. Raises Error when the copy fails or the
// method is unknown.
void TimeFileCopy(const std::wstring& method, const std::wstring& source, const std::wstring& destination);
