// The system's own text for an error code, as the user sees it inside our
// messages: trailing blanks, CR/LF and the final period removed.
#pragma once

#include <windows.h>

#include <string>

// FormatMessageW text for code, trimmed as above. Unknown codes give
// "Unknown error <code>"; never fails.
std::wstring SystemErrorText(DWORD code);
