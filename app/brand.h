// Which brand the string table names.
#pragma once

#include <string_view>

// True when productName, upper-cased with the user locale's rules, equals the
// upper-cased word "Ortanis" exactly (whole string, ordinal).
bool IsAlternativeBrand(std::wstring_view productName);
