#include "shared/button_glyph.h"

#include "base/error.h"
#include "base/png_decoder.h"
#include "base/resource_data.h"
#include "shared/VH_Common_Var.h"

namespace {

// A 32-bit top-down DIB with the picture's straight alpha, as image lists
// of ILC_COLOR32 take it.
ScopedBitmap AlphaBitmap(const PngImage& image) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = image.width;
    bi.bmiHeader.biHeight = -image.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        throw Error(L"Cannot create a picture of " + std::to_wstring(image.width) + L" x " +
                    std::to_wstring(image.height) + L" pixels");
    auto* out = static_cast<uint8_t*>(bits);
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        out[i] = image.rgba[i + 2];  // B, G, R, A in memory
        out[i + 1] = image.rgba[i + 1];
        out[i + 2] = image.rgba[i];
        out[i + 3] = image.rgba[i + 3];
    }
    return bitmap;
}

}  // namespace

ScopedImageList SetButtonGlyph(HWND button, const wchar_t* name) {
    const std::string_view png = RawResource(ResInstance, name);
    const PngImage image = DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size());
    const ScopedBitmap bitmap = AlphaBitmap(image);
    // One picture per list: the button uses it in every state.
    ScopedImageList list(ImageList_Create(image.width, image.height, ILC_COLOR32, 1, 0));
    if (!list || ImageList_Add(list.get(), bitmap.get(), nullptr) < 0)
        throw Error(L"Cannot make the button picture " + std::wstring(name));
    BUTTON_IMAGELIST glyph{list.get(), {2, 0, 2, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&glyph));
    return list;
}
