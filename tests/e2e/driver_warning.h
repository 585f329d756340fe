// The driver warning that every showing of the options page brings up.
#pragma once

#include <gtest/gtest.h>

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
