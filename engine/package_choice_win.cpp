#include <windows.h>

#include <algorithm>

#include "base/package_names.h"
#include "base/strings.h"
#include "engine/file_ops.h"
#include "engine/package_choice.h"

std::wstring FindNewestPackage(std::wstring_view installFolder) {
    std::vector<std::wstring> packages;
    ListSubfolders(JoinPath(installFolder, kBackupFolder), packages);
    // Stable, so names that compare equal keep the enumeration order.
    std::stable_sort(packages.begin(), packages.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                              b.c_str(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
    });
    return packages[ChooseNewestPackage(packages)];
}
