// The rights question names only the steps that need the rights.
#include "engine/rights_question.h"

#include <gtest/gtest.h>

namespace {

TEST(RightsQuestion, NamesOnlyWhatNeedsTheRights) {
    const std::wstring folder = L"C:\\Program Files\\";
    struct Case {
        RightsNeeds needs;
        std::wstring question;
        std::wstring log;
    } const cases[] = {
        {{true, true, L""},
         L"Шрифты и драйвер устройства не могут быть установлены без прав администратора.\r\nЧтобы установить их, "
         L"запустите программу установки от имени администратора.\r\nПродолжить установку?",
         L"the fonts and the driver"},
        {{true, false, L""},
         L"Шрифты не могут быть установлены без прав администратора.\r\nЧтобы установить их, запустите программу "
         L"установки от имени администратора.\r\nПродолжить установку?",
         L"the fonts"},
        {{false, true, L""},
         L"Драйвер устройства не может быть установлен без прав администратора.\r\nЧтобы установить его, "
         L"запустите программу установки от имени администратора.\r\nПродолжить установку?",
         L"the driver"},
        {{false, false, folder},
         L"В каталог C:\\Program Files\\ нельзя записывать файлы без прав администратора.\r\nЧтобы установить "
         L"комплекс в этот каталог, запустите программу установки от имени администратора.\r\nПродолжить "
         L"установку?",
         L"the files of C:\\Program Files\\"},
        {{true, true, folder},
         L"В каталог C:\\Program Files\\ нельзя записывать файлы без прав администратора.\r\nШрифты и драйвер "
         L"устройства не могут быть установлены без прав администратора.\r\nЧтобы установить их, запустите "
         L"программу установки от имени администратора.\r\nПродолжить установку?",
         L"the fonts, the driver and the files of C:\\Program Files\\"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.needs.Any());
        EXPECT_EQ(RightsQuestionText(c.needs), c.question);
        EXPECT_EQ(RightsNeedsLogText(c.needs), c.log);
    }
    EXPECT_FALSE(RightsNeeds{}.Any());
}

}  // namespace
