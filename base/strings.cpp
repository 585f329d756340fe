#include "base/strings.h"

#include <algorithm>

std::wstring_view TrimControlView(std::wstring_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned>(text[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned>(text[end - 1]) <= 0x20) --end;
    return text.substr(begin, end - begin);
}

std::wstring TrimControl(std::wstring_view text) {
    return std::wstring(TrimControlView(text));
}

std::wstring WithTrailingBackslash(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty() && result.back() != L'\\') result += L'\\';
    return result;
}

std::wstring WithoutTrailingBackslash(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty() && result.back() == L'\\' && !(result.size() == 3 && result[1] == L':')) result.pop_back();
    return result;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (name.empty()) return path;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path.append(name);
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view sub, std::wstring_view name) {
    return JoinPath(JoinPath(folder, sub), name);
}

std::wstring FolderOf(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? std::wstring() : WithoutTrailingBackslash(path.substr(0, slash + 1));
}

std::wstring NameOf(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

namespace {

wchar_t FoldIniNameLetter(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + (L'a' - L'A'));
    if (c >= 0x0410 && c <= 0x042F) return static_cast<wchar_t>(c + 0x20);  // А..Я
    if (c >= 0x0400 && c <= 0x040F) return static_cast<wchar_t>(c + 0x50);  // Ѐ..Џ, Ё among them
    return c;
}

}  // namespace

std::wstring FoldedIniName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) c = FoldIniNameLetter(c);
    return folded;
}

bool SameIniName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return FoldIniNameLetter(x) == FoldIniNameLetter(y);
           });
}
