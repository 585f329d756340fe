#include "tests/kit/uninstall_entry_reader.h"

#include "base/handles.h"

namespace {

ScopedRegKey OpenEntry() {
    ScopedRegKey key;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEntryKey.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, key.receive());
    return key;
}

}  // namespace

bool EntryExists() {
    return static_cast<bool>(OpenEntry());
}

std::wstring EntryText(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    const ScopedRegKey key = OpenEntry();
    if (!key || RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"";
    return value;
}

DWORD EntryNumber(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    const ScopedRegKey key = OpenEntry();
    if (!key || RegGetValueW(key.get(), nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

void DeleteEntry() {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kEntryKey.c_str(), KEY_WOW64_32KEY, 0);
}
