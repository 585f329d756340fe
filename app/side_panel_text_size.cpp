#include "app/side_panel_text_size.h"

#include <richedit.h>

#include "base/handles.h"

namespace {

constexpr int kDesignDpi = 96;
constexpr DWORD kSpacing = PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET;

void Select(HWND richEdit, LONG start, LONG end) {
    CHARRANGE range{start, end};
    SendMessageW(richEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

// The formats of the characters [start, end); a mask bit is clear where
// they differ in that part.
CHARFORMAT2W CharFormatOf(HWND richEdit, LONG start, LONG end) {
    Select(richEdit, start, end);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof(cf);
    SendMessageW(richEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf;
}

PARAFORMAT2 ParaFormatOf(HWND richEdit, LONG start, LONG end) {
    Select(richEdit, start, end);
    PARAFORMAT2 pf{};
    pf.cbSize = sizeof(pf);
    SendMessageW(richEdit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    return pf;
}

// The end of the run from start over which uniform(start, end) holds, at
// most last: doubling steps, then halving, so a document of a few dozen
// runs takes a few hundred queries rather than one per character.
template <typename Uniform>
LONG RunEnd(LONG start, LONG last, Uniform uniform) {
    LONG good = start + 1, bad = last + 1;
    for (LONG step = 1; good < last; step *= 2) {
        const LONG probe = good + step < last ? good + step : last;
        if (!uniform(start, probe)) {
            bad = probe;
            break;
        }
        good = probe;
    }
    while (bad - good > 1) {
        const LONG mid = good + (bad - good) / 2;
        (uniform(start, mid) ? good : bad) = mid;
    }
    return good;
}

}  // namespace

void KeepTextAtDesignSize(HWND richEdit) {
    int dpi = kDesignDpi;
    {
        ScopedGetDc dc(richEdit);
        if (dc.get()) dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
    }
    if (dpi <= 0 || dpi == kDesignDpi) return;
    auto design = [dpi](LONG twips) { return MulDiv(twips, kDesignDpi, dpi); };

    // Runs cover every character and the final paragraph mark.
    GETTEXTLENGTHEX count{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LONG last =
        static_cast<LONG>(SendMessageW(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&count), 0)) + 1;
    SendMessageW(richEdit, WM_SETREDRAW, FALSE, 0);
    for (LONG start = 0, end; start < last; start = end) {
        end = RunEnd(start, last,
                     [&](LONG s, LONG e) { return (CharFormatOf(richEdit, s, e).dwMask & CFM_SIZE) != 0; });
        CHARFORMAT2W cf = CharFormatOf(richEdit, start, end);
        cf.dwMask = CFM_SIZE;
        cf.yHeight = design(cf.yHeight);
        SendMessageW(richEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    }
    for (LONG start = 0, end; start < last; start = end) {
        end = RunEnd(start, last,
                     [&](LONG s, LONG e) { return (ParaFormatOf(richEdit, s, e).dwMask & kSpacing) == kSpacing; });
        PARAFORMAT2 pf = ParaFormatOf(richEdit, start, end);
        pf.dwMask = kSpacing;
        pf.dySpaceBefore = design(pf.dySpaceBefore);
        pf.dySpaceAfter = design(pf.dySpaceAfter);
        pf.dxStartIndent = design(pf.dxStartIndent);
        pf.dxRightIndent = design(pf.dxRightIndent);
        pf.dxOffset = design(pf.dxOffset);
        SendMessageW(richEdit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    }
    Select(richEdit, 0, 0);
    SendMessageW(richEdit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(richEdit, nullptr, TRUE);
}
