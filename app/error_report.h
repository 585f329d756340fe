// The application's default error report: what the user sees when an error
// ends an action.
#pragma once

#include <string>
#include <string_view>

// The report's text: the error's text with "." appended when its last
// character's code is above that of ".". Windows-free.
std::wstring ErrorReportText(std::wstring_view text);

// The text of the exception being handled, whatever its type: an Error's
// own text, "Out of memory" for a failed allocation, the description of
// any other standard exception, "Unknown error" for anything else. Call
// only inside a catch block.
std::wstring CurrentExceptionText();
