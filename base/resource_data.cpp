#include "base/resource_data.h"

#include <string>

#include "base/error.h"

std::string_view RawResource(HINSTANCE module, const wchar_t* name) {
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) throw Error(L"Resource " + std::wstring(name) + L" not found");
    return {static_cast<const char*>(bytes), SizeofResource(module, info)};
}
