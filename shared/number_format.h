// The process-wide number format: "." as decimal separator and a blank as
// thousands separator, whatever the user's regional settings. Windows-free.
#pragma once

// Puts the format in force for the rest of the run: the C runtime's numeric
// category becomes "C" (printf/scanf families, strtod/wcstod,
// std::to_wstring) and the global C++ locale becomes the classic one whose
// number punctuation is "." and " ". Digit grouping stays off, so plain
// conversions never insert the thousands separator; only formatting that
// asks for grouping uses it. Never fails.
void SetProcessNumberFormat();
