#include "app/resources_access.h"

#include "app/png_decoder.h"
#include "base/error.h"
#include "shared/VH_Common_Var.h"

std::wstring LoadResString(HINSTANCE instance, int id) {
    wchar_t buffer[255];
    const int n = LoadStringW(instance, static_cast<UINT>(id), buffer, 255);
    return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

std::string_view RawResource(HINSTANCE module, const wchar_t* name) {
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) throw Error(L"Resource " + std::wstring(name) + L" not found");
    return {static_cast<const char*>(bytes), SizeofResource(module, info)};
}

void LoadPngResource(Bitmap& bitmap, const wchar_t* name) {
    const std::string_view png = RawResource(ResInstance, name);
    bitmap = DecodePngOpaque(reinterpret_cast<const uint8_t*>(png.data()), png.size());
}
