// Walks the wizard through its pages and saves a picture of each page and
// each window it opens, for people to look at:
//   page_tour <installer.exe> <output folder> [dots per inch]
// With a resolution, the installer starts at that logical resolution (the
// setting is put back at the end). Pictures are 24-bit BMP files numbered in
// walk order; tools/contact_sheet.sh lays the walks at four resolutions out
// side by side.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/file_util.h"

namespace {

void SaveWindowPicture(HWND hwnd, const std::wstring& path) {
    Sleep(700);  // let the window finish painting
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
    GetDIBits(memory.get(), bitmap.get(), 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi);
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string file(reinterpret_cast<const char*>(&fh), sizeof(fh));
    file.append(reinterpret_cast<const char*>(&bi), sizeof(bi));
    file += pixels;
    WriteFileBytes(path, file);
}

// The installer keeps its launch-progress window hidden; it is shown here
// for the picture with a step's text and a half-full bar, then hidden again.
void SaveLaunchProgressPicture(const Wizard& w, const std::wstring& path) {
    HWND waitRun = nullptr;
    Wizard::WaitUntil([&] { return (waitRun = FindTopWindowEvenHidden(w.ProcessId(), L"TFWaitRun")) != nullptr; });
    if (!waitRun) return;
    if (HWND label = FindWindowExW(waitRun, nullptr, L"Static", nullptr))
        SetText(label, L"Загрузка данных ЭКГ: шаг 12 из 25");
    if (HWND bar = FindWindowExW(waitRun, nullptr, PROGRESS_CLASSW, nullptr)) SendMessageW(bar, PBM_SETPOS, 12, 0);
    ShowWindow(waitRun, SW_SHOWNA);
    SaveWindowPicture(waitRun, path);
    ShowWindow(waitRun, SW_HIDE);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: page_tour <installer.exe beside a package> <output folder> [dots per inch]\n", stderr);
        return 2;
    }
    const std::wstring out = std::wstring(argv[2]) + L"\\";
    std::unique_ptr<ScreenDpiForNewProcesses> dpi;
    if (argc > 3) dpi = std::make_unique<ScreenDpiForNewProcesses>(std::wcstoul(argv[3], nullptr, 10));

    // Cancelling from the welcome page.
    {
        Wizard w(argv[1]);
        SaveWindowPicture(w.Main(), out + L"01-welcome.bmp");
        SaveLaunchProgressPicture(w, out + L"02-launch-progress.bmp");
        w.Click(L"Отмена");
        MessageBoxInfo box = w.WaitForMessageBox();
        SaveWindowPicture(box.hwnd, out + L"03-cancel-question.bmp");
        w.Answer(box, IDYES);
        SaveWindowPicture(w.Main(), out + L"04-cancelled.bmp");
        w.Click(L"Выход");
        w.WaitForExit(10s);
    }

    // A whole installation into C:\Holter, where an update script that is
    // not the distribution's lies waiting: refused, it adds the widest line
    // an installation shows.
    const std::wstring foreign = L"C:\\Holter\\backup\\X991231\\";
    for (const wchar_t* folder : {L"C:\\Holter", L"C:\\Holter\\backup", foreign.c_str()})
        CreateDirectoryW(folder, nullptr);
    WriteFileBytes(foreign + L"Install.cmd", "@echo off\r\n");
    Wizard w(argv[1]);
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    SaveWindowPicture(w.Main(), out + L"05-folder.bmp");
    SetText(path, L"C:");
    w.Click(L"Далее");
    MessageBoxInfo box = w.WaitForMessageBox();
    SaveWindowPicture(box.hwnd, out + L"06-root-warning.bmp");
    w.Answer(box, IDOK);
    SetText(path, L"C:\\Holter");
    w.Click(L"Далее");
    const MessageWindowInfo warning = w.WaitForMessageWindow();
    SaveWindowPicture(warning.hwnd, out + L"07-driver-warning.bmp");
    w.PressOk(warning);
    SaveWindowPicture(w.Main(), out + L"08-options.bmp");
    // The driver box cleared by a mouse click, pictured, then ticked again.
    HWND driver = w.FindControl(L"Button", L"Устанавливать драйвер");
    Wizard::MouseClick(driver);
    Wizard::WaitUntil([&] { return !IsChecked(driver); }, 5s);
    SaveWindowPicture(w.Main(), out + L"08b-options-driver-cleared.bmp");
    Wizard::MouseClick(driver);
    w.Click(L"Начать установку");
    box = w.WaitForMessageBox(120s);
    SaveWindowPicture(box.hwnd, out + L"09-driver-question.bmp");
    w.Answer(box, IDYES);
    box = w.WaitForMessageBox(120s);
    if (box.text.find(L"Запустить сценарий?") != std::wstring::npos) {
        SaveWindowPicture(box.hwnd, out + L"09b-foreign-script-question.bmp");
        w.Answer(box, IDNO);
    }
    // The end: the large-font page at small fonts, the completion question otherwise.
    Wizard::WaitUntil(
        [&] {
            return FindTopWindow(w.ProcessId(), L"#32770") || w.FindControl(L"Button", L"Изменить настройки", 0s);
        },
        120s);
    box = w.WaitForMessageBox(0s);
    if (box.hwnd) {
        SaveWindowPicture(box.hwnd, out + L"10-completion-question.bmp");
        w.Answer(box, IDNO);
    }
    SaveWindowPicture(w.Main(), out + L"11-end.bmp");
    // The progress list scrolled to its right end: the ends of its widest
    // lines (at small fonts the run ends on the large-font page instead).
    HWND list = FindWindowExW(FindWindowExW(w.Main(), nullptr, nullptr, nullptr), nullptr, nullptr, nullptr);
    if (HWND found = w.FindControlOfClass(L"ListBox")) list = found;
    if (list && IsWindowVisible(list) && ClassOf(list) == L"ListBox") {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(list, WM_HSCROLL, SB_BOTTOM, 0, SMTO_NORMAL, 10000, &ignored);
        SaveWindowPicture(w.Main(), out + L"12-end-scrolled-right.bmp");
    }
    // Leave, so the run's setup log ends as a user's would.
    w.Click(L"Выход");
    w.WaitForExit(10s);
    return 0;
}
