#include "app/brand.h"

#include <windows.h>

#include <string>

namespace {

std::wstring UpperCase(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty())
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, result.data(), static_cast<int>(result.size()),
                     result.data(), static_cast<int>(result.size()));
    return result;
}

}  // namespace

bool IsAlternativeBrand(std::wstring_view productName) {
    return UpperCase(productName) == UpperCase(L"Ortanis");
}
