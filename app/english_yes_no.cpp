#include "app/english_yes_no.h"

#include <string_view>

namespace {

// Set while a box still waits for its captions; one UI thread asks at a time.
bool pending = false;

bool IsMessageBox(HWND hwnd) {
    wchar_t name[16];
    const int n = GetClassNameW(hwnd, name, 16);
    return std::wstring_view(name, n > 0 ? static_cast<size_t>(n) : 0) == L"#32770" && GetDlgItem(hwnd, IDYES) &&
           GetDlgItem(hwnd, IDNO);
}

// The box is about to be activated: its buttons exist and are laid out.
LRESULT CALLBACK RenameButtons(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && pending) {
        HWND box = reinterpret_cast<HWND>(wp);
        if (IsMessageBox(box)) {
            SetDlgItemTextW(box, IDYES, L"&Yes");
            SetDlgItemTextW(box, IDNO, L"&No");
            pending = false;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

ScopedEnglishYesNo::ScopedEnglishYesNo()
    : hook_(SetWindowsHookExW(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId())) {
    pending = hook_.valid();
}

ScopedEnglishYesNo::~ScopedEnglishYesNo() {
    pending = false;
}
