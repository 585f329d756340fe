// The application's default error report: what the user sees when an error
// ends an action.
#pragma once

#include <string>
#include <string_view>

// The report's text: the error's text with "." appended when its last
// character's code is above that of ".". Windows-free.
std::wstring ErrorReportText(std::wstring_view text);
