#include "base/strings.h"

std::wstring TrimControl(std::wstring_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned>(text[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned>(text[end - 1]) <= 0x20) --end;
    return std::wstring(text.substr(begin, end - begin));
}

std::wstring WithTrailingBackslash(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty() && result.back() != L'\\') result += L'\\';
    return result;
}

std::wstring FolderOf(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring NameOf(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

bool EqualsIgnoreAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}
