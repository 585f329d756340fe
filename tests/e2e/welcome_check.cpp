// Starts an installer exe (e.g. a signed copy) and checks that it reaches
// its welcome page: the main window shows the welcome text with "Далее" and
// "Отмена", and the close box then ends the program.
// Usage: welcome_check <full path of the exe>. Exit code 0 when all holds.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "tests/e2e/driver.h"

namespace {

bool Check(bool holds, const char* what) {
    std::printf("%s: %s\n", holds ? "ok" : "FAILED", what);
    return holds;
}

bool ReachesWelcomePage(const std::wstring& exe) {
    Wizard w(exe);
    bool ok = Check(TextOf(w.Main()) == L"Установка комплекса", "main window \"Установка комплекса\" shown");
    ok &= Check(w.FindControl(L"Button", L"Далее") != nullptr, "welcome page with \"Далее\"");
    ok &= Check(w.FindControl(L"Button", L"Отмена") != nullptr, "welcome page with \"Отмена\"");
    PostMessageW(w.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ok &= Check(w.WaitForExit(10s), "closed from the welcome page");
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: welcome_check <exe>\n", stderr);
        return 2;
    }
    try {
        return ReachesWelcomePage(argv[1]) ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
    }
    return 1;
}
