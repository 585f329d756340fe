#include <gtest/gtest.h>

#include "base/file_system.h"
#include "base/strings.h"
#include "shared/VH_Common_Const.h"
#include "shared/VH_Common_Proc.h"
#include "shared/VH_Common_Var.h"
#include "shared/shared_units.h"
#include "shared/unitMyLog.h"

namespace {

TEST(SharedUnits, StartTheSharedStateAndFinaliseItAgain) {
    {
        SharedUnits units;
        EXPECT_NE(MyLog, nullptr);
        EXPECT_EQ(ExeDir, WithTrailingBackslash(ModuleFolder()));
        EXPECT_EQ(LangCode, L"RUS");  // no Settings folder beside the tests
        EXPECT_EQ(Settings.HardwareType, 1);
        EXPECT_EQ(ConstitutionText[0], L"Нормостеник");
        EXPECT_EQ(ProcText[0], L"СБОЙ");
        EXPECT_EQ(std::to_wstring(0.5), L"0.500000");
    }
    EXPECT_EQ(MyLog, nullptr);
    EXPECT_EQ(ExeDir, L"");
    EXPECT_EQ(LangCode, L"");
    EXPECT_EQ(ConstitutionText[0], L"");
    EXPECT_EQ(ProcText[0], L"");
}

}  // namespace
