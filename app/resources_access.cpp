#include "app/resources_access.h"

#include "app/string_table.h"
#include "base/error.h"
#include "base/png_decoder.h"
#include "shared/VH_Common_Var.h"

std::wstring LoadResString(HINSTANCE instance, int id) {
    wchar_t buffer[255];
    const int n = LoadStringW(instance, static_cast<UINT>(id), buffer, 255);
    return std::wstring(buffer, static_cast<size_t>(n > 0 ? n : 0));
}

ShortcutNames DesktopShortcutNames(HINSTANCE instance) {
    const std::wstring product = LoadResString(instance, IDS_PRODUCT_NAME);
    return {LoadResString(instance, IDS_MAIN_PROGRAM),
            LoadResString(instance, IDS_PRODUCT_DESCRIPTION) + L" \"" + product + L"\"", product};
}

void LoadPngResource(Bitmap& bitmap, const wchar_t* name) {
    const std::string_view png = RawResource(ResInstance, name);
    bitmap = DecodePngOpaque(reinterpret_cast<const uint8_t*>(png.data()), png.size());
}
