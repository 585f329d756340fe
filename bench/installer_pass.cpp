#include "bench/installer_pass.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "base/utf8.h"
#include "bench/hold.h"
#include "tests/e2e/driver.h"

namespace {

const std::wstring kDriverQuestion = L"Подключите интерфейсный блок и нажмите \"Yes\"?";
const std::wstring kFinalQuestion = L"Установка завершена. Выйти из программы установки?";

void Expect(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(std::string("the installer did not ") + what);
}

}  // namespace

void RunInstallerPass(const std::wstring& exe, const std::wstring& installFolder,
                      const std::wstring& releaseFile) {
    Wizard wizard(exe);
    wizard.Click(L"Далее");
    HWND path = wizard.FindControl(L"Edit", L"C:\\Holter");
    Expect(path != nullptr, "show the folder page");
    SetText(path, installFolder);
    wizard.Click(L"Далее");
    Expect(wizard.FindControl(L"Button", L"Начать установку") != nullptr, "show the options page");
    const MessageWindowInfo warning = wizard.WaitForMessageWindow();
    if (warning.hwnd) wizard.PressOk(warning);

    const auto start = std::chrono::steady_clock::now();
    wizard.Click(L"Начать установку");
    const MessageBoxInfo driver = wizard.WaitForMessageBox(std::chrono::minutes(5));
    if (driver.text != kDriverQuestion)
        throw std::runtime_error("the installer showed \"" + ToUtf8(driver.text) + "\"");
    wizard.Answer(driver, IDNO);
    // "Выход" is enabled when the installation has done its work; then comes
    // the final question or, at small fonts, the large-font page.
    HWND exitButton = wizard.FindControl(L"Button", L"Выход");
    Expect(exitButton &&
               Wizard::WaitUntil([&] { return IsWindowEnabled(exitButton) != FALSE; }, std::chrono::minutes(5)),
           "enable \"Выход\"");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, wizard.ProcessId()));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process.get(), &memory, sizeof(memory));
    std::printf("installer_pass_seconds %.4f\n", seconds);
    std::printf("installer_peak_working_set %lu\n", static_cast<unsigned long>(memory.PeakWorkingSetSize));
    if (!releaseFile.empty()) HoldUntil(releaseFile);

    const MessageBoxInfo last = wizard.WaitForMessageBox(std::chrono::seconds(2));
    if (last.hwnd && last.text == kFinalQuestion)
        wizard.Answer(last, IDYES);
    else
        PostMessageW(wizard.Main(), WM_CLOSE, 0, 0);
    Expect(wizard.WaitForExit(std::chrono::seconds(10)), "end");
}
