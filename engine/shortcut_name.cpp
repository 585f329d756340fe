#include "engine/shortcut_name.h"

std::wstring ShortcutFileName(std::wstring_view linkName, std::wstring_view target) {
    const std::wstring_view path = linkName.empty() ? target : linkName;
    const size_t componentStart = [&] {
        const size_t separator = path.find_last_of(L"\\/:");
        return separator == std::wstring_view::npos ? 0 : separator + 1;
    }();
    std::wstring name(path.substr(componentStart));
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name + L".lnk";
}
