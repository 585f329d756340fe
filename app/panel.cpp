#include "app/panel.h"

#include "app/application.h"
#include "base/error.h"
#include "base/handles.h"
#include "base/system_error.h"

namespace {

constexpr wchar_t kClassName[] = L"VhPanel";

struct PanelData {
    HBRUSH brush;
    PanelFrame frame;
};

void Paint(HWND hwnd, const PanelData& data) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, data.brush);
    if (data.frame == PanelFrame::Rounded) {
        ScopedOwner<GdiObjectTraits<HPEN>> pen(CreatePen(PS_SOLID, 1, RGB(190, 190, 186)));
        ScopedSelect use_pen(dc, pen.get());
        ScopedSelect no_fill(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, r.left, r.top, r.right, r.bottom, 8, 8);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) try {
    auto* data = reinterpret_cast<PanelData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(new PanelData(*static_cast<PanelData*>(cs->lpCreateParams))));
            break;
        }
        case WM_NCDESTROY:
            delete data;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (data) {
                Paint(hwnd, *data);
                return 0;
            }
            break;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetParent(hwnd), msg, wp, lp);
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
} catch (...) {
    // Errors never cross the window procedure.
    Application.ReportCurrentException();
    return 0;
}

}  // namespace

void RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}

HWND CreatePanel(HWND parent, const Bounds& b, int id, HBRUSH brush, PanelFrame frame) {
    PanelData data{brush, frame};
    HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, b.x, b.y, b.w,
                                b.h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), &data);
    if (!hwnd) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot create a window. " + SystemErrorText(code));
    }
    return hwnd;
}
