#include "engine/package_choice.h"

#include <cstdint>

#include "base/error.h"
#include "base/integer_text.h"

std::wstring PackageDateKey(std::wstring_view path) {
    if (path.size() < 6) return std::wstring(path);
    const std::wstring_view date = path.substr(path.size() - 6);
    std::wstring key;
    key += date.substr(4, 2);
    key += date.substr(2, 2);
    key += date.substr(0, 2);
    return key;
}

size_t ChooseNewestPackage(const std::vector<std::wstring>& paths) {
    if (paths.empty()) throw Error(L"List index out of bounds (0)");
    size_t best = 0;
    int32_t bestKey = ParseInteger(PackageDateKey(paths[0]));
    for (size_t i = 1; i < paths.size(); ++i) {
        const int32_t key = ParseInteger(PackageDateKey(paths[i]));
        if (key > bestKey) {
            best = i;
            bestKey = key;
        }
    }
    return best;
}
