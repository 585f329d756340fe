#include "app/panel.h"

#include "base/handles.h"

WindowClass TPanel::Class(HINSTANCE) {
    return {.name = L"VhPanel", .cursor = LoadCursorW(nullptr, IDC_ARROW)};
}

void TPanel::Create(HWND parent, const Bounds& b, int id) {
    CreateAttached(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                   {.exStyle = WS_EX_CONTROLPARENT,
                    .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    .x = b.x,
                    .y = b.y,
                    .width = b.w,
                    .height = b.h,
                    .parent = parent,
                    .id = id},
                   L"a window");
}

void TPanel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, brush_);
    if (frame_ == PanelFrame::Rounded) {
        ScopedOwner<GdiObjectTraits<HPEN>> pen(CreatePen(PS_SOLID, 1, RGB(190, 190, 186)));
        ScopedSelect use_pen(dc, pen.get());
        ScopedSelect no_fill(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, r.left, r.top, r.right, r.bottom, 8, 8);
    }
    EndPaint(hwnd_, &ps);
}

LRESULT TPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetParent(hwnd_), msg, wp, lp);
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}
