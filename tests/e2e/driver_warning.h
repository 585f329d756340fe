// The driver warning that every showing of the options page brings up, and
// the walk to that page.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"

inline constexpr wchar_t kDriverWarning[] =
    L"Внимание!\r\n Если на вашем компьютере уже установлен комплекс \"Velmora-Холтер\",\r\n снимите галочку "
    L"установки драйвера!";

// Expects the warning in the installer's message window, untitled, and
// dismisses it with "OK".
inline void DismissDriverWarning(const Wizard& w) {
    const MessageWindowInfo warning = w.WaitForMessageWindow();
    ASSERT_TRUE(warning.hwnd) << "the driver warning did not appear";
    EXPECT_EQ(warning.text, kDriverWarning);
    EXPECT_EQ(warning.title, L"");
    w.PressOk(warning);
}

// Walks from the welcome page to the options page with installFolder typed
// into the folder field, and dismisses the driver warning there.
inline void GoToOptions(const Wizard& w, const std::wstring& installFolder) {
    w.Click(L"Далее");
    HWND path = w.FindControl(L"Edit", L"C:\\Holter");
    ASSERT_TRUE(path);
    SetText(path, installFolder);
    w.Click(L"Далее");
    ASSERT_TRUE(w.FindControl(L"Button", L"Начать установку"));
    DismissDriverWarning(w);
}
