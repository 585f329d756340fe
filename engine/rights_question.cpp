#include "engine/rights_question.h"

#include <vector>

namespace {

std::wstring Joined(const std::vector<std::wstring>& parts, const wchar_t* last) {
    std::wstring text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) text += i + 1 == parts.size() ? last : L", ";
        text += parts[i];
    }
    return text;
}

}  // namespace

std::wstring RightsQuestionText(const RightsNeeds& needs) {
    std::wstring text;
    if (!needs.unwritableFolder.empty())
        text += L"В каталог " + needs.unwritableFolder + L" нельзя записывать файлы без прав администратора.\r\n";
    if (needs.fonts && needs.driver)
        text += L"Шрифты и драйвер устройства не могут быть установлены без прав администратора.\r\n";
    else if (needs.fonts)
        text += L"Шрифты не могут быть установлены без прав администратора.\r\n";
    else if (needs.driver)
        text += L"Драйвер устройства не может быть установлен без прав администратора.\r\n";
    const bool one = needs.unwritableFolder.empty() && needs.driver && !needs.fonts;
    const bool folderOnly = !needs.fonts && !needs.driver;
    text += folderOnly ? L"Чтобы установить комплекс в этот каталог, запустите программу установки от имени "
                         L"администратора.\r\n"
                       : std::wstring(L"Чтобы установить ") + (one ? L"его" : L"их") +
                             L", запустите программу установки от имени администратора.\r\n";
    return text + L"Продолжить установку?";
}

std::wstring RightsNeedsLogText(const RightsNeeds& needs) {
    std::vector<std::wstring> parts;
    if (needs.fonts) parts.emplace_back(L"the fonts");
    if (needs.driver) parts.emplace_back(L"the driver");
    if (!needs.unwritableFolder.empty()) parts.push_back(L"the files of " + needs.unwritableFolder);
    return Joined(parts, L" and ");
}
