#include "app/list_extent.h"

#include "base/handles.h"

void WidenListToLine(HWND list, std::wstring_view line) {
    const ScopedGetDc dc(list);
    if (!dc.get()) return;
    const ScopedSelect font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE text{};
    TEXTMETRICW metrics{};
    if (!GetTextExtentPoint32W(dc.get(), line.data(), static_cast<int>(line.size()), &text) ||
        !GetTextMetricsW(dc.get(), &metrics))
        return;
    // The list draws its text a pixel in from the left; a character's room
    // after the end keeps the last letter clear of the edge.
    const LRESULT needed = text.cx + 1 + metrics.tmAveCharWidth;
    if (needed > SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0))
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(needed), 0);
}

void ResetListWidth(HWND list) {
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 0, 0);
}
