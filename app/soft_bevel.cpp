#include "app/soft_bevel.h"

#include <commctrl.h>

#include "base/error.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x5B;
constexpr int kSoftBevelWidth = 2;

LRESULT CALLBACK BevelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
        case WM_NCCALCSIZE: {
            const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
            RECT* client = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
            InflateRect(client, -kSoftBevelWidth, -kSoftBevelWidth);
            return result;
        }
        case WM_NCPAINT: {
            const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
            HDC dc = GetWindowDC(hwnd);
            if (dc) {
                RECT r;
                GetWindowRect(hwnd, &r);
                OffsetRect(&r, -r.left, -r.top);
                DrawEdge(dc, &r, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT | BF_SOFT);
                ReleaseDC(hwnd, dc);
            }
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, BevelProc, kSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void GiveSoftBevel(HWND hwnd) {
    if (!SetWindowSubclass(hwnd, BevelProc, kSubclassId, 0)) throw Error(L"Cannot give the side panel its edge.");
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
