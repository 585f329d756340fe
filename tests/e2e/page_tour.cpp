// Walks the wizard through its pages and saves a picture of the main window
// on each, for people to look at: page_tour <installer.exe> <output folder>.
// Pictures are 24-bit BMP files named after the page.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/kit/file_util.h"

namespace {

void SaveWindowPicture(HWND hwnd, const std::wstring& path) {
    Sleep(700);  // let the page finish painting
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ScopedGetDc screen(nullptr);
    ScopedMemoryDc memory(CreateCompatibleDC(screen.get()));
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    {
        ScopedSelect select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    }
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    std::string pixels(stride * h, '\0');
    GetDIBits(memory.get(), bitmap.get(), 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi),
              DIB_RGB_COLORS);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi);
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string file(reinterpret_cast<const char*>(&fh), sizeof(fh));
    file.append(reinterpret_cast<const char*>(&bi), sizeof(bi));
    file += pixels;
    WriteFileBytes(path, file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: page_tour <installer.exe beside a package> <output folder>\n", stderr);
        return 2;
    }
    const std::wstring out = std::wstring(argv[2]) + L"\\";

    // Cancelling from the welcome page.
    {
        Wizard w(argv[1]);
        w.Click(L"Отмена");
        MessageBoxInfo box = w.WaitForMessageBox();
        SaveWindowPicture(w.Main(), out + L"1-cancel-question.bmp");
        w.Answer(box, IDYES);
        SaveWindowPicture(w.Main(), out + L"2-cancelled.bmp");
        w.Click(L"Выход");
        w.WaitForExit(10s);
    }

    // A whole installation into C:\Holter.
    Wizard w(argv[1]);
    SaveWindowPicture(w.Main(), out + L"3-welcome.bmp");
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    SaveWindowPicture(w.Main(), out + L"4-folder.bmp");
    SetText(path, L"C:");
    w.Click(L"Далее");
    MessageBoxInfo box = w.WaitForMessageBox();
    SaveWindowPicture(box.hwnd, out + L"5-root-warning.bmp");
    w.Answer(box, IDOK);
    SetText(path, L"C:\\Holter");
    w.Click(L"Далее");
    const MessageWindowInfo warning = w.WaitForMessageWindow();
    SaveWindowPicture(w.Main(), out + L"6-options-warning.bmp");
    w.PressOk(warning);
    // The driver box cleared by a mouse click, pictured, then ticked again.
    HWND driver = w.FindControl(L"Button", L"Устанавливать драйвер");
    Wizard::MouseClick(driver);
    Wizard::WaitUntil([&] { return !IsChecked(driver); }, 5s);
    SaveWindowPicture(w.Main(), out + L"6b-options-driver-cleared.bmp");
    Wizard::MouseClick(driver);
    w.Click(L"Начать установку");
    box = w.WaitForMessageBox(120s);
    SaveWindowPicture(w.Main(), out + L"7-driver-question.bmp");
    w.Answer(box, IDYES);
    // The end: the large-font page at small fonts, the completion question otherwise.
    Wizard::WaitUntil(
        [&] { return FindTopWindow(w.ProcessId(), L"#32770") || w.FindControl(L"Button", L"Изменить настройки", 0s); },
        120s);
    SaveWindowPicture(w.Main(), out + L"8-end.bmp");
    return 0;
}
