#include "engine/removal_record.h"

#include <cwchar>
#include <utility>

#include "base/run_facts.h"
#include "base/utf8.h"

std::string RemovalRecordBytes(const RemovalReport& report, const std::wstring& installFolder,
                               const LocalDateTime& started) {
    wchar_t when[32];
    swprintf(when, 32, L"%04d-%02d-%02d %02d:%02d:%02d", started.year, started.month, started.day, started.hour,
             started.minute, started.second);
    const std::pair<const wchar_t*, std::wstring> fields[] = {
        {L"Каталог установки", installFolder},
        {L"Протокол установки", report.record},
        {L"Пользователь", UserName()},
        {L"Начало", when},
        {L"Удалено", std::to_wstring(report.removed)},
        {L"Оставлено изменённых после установки", std::to_wstring(report.changed)},
        {L"Ошибок", std::to_wstring(report.failed)},
    };
    std::wstring text = L"Протокол удаления комплекса \"Velmora-Холтер\"\r\n";
    for (const auto& [label, value] : fields) text += std::wstring(label) + L": " + value + L"\r\n";
    text += L"\r\nФайл\tИтог\r\n";
    for (const RemovalItem& item : report.items) text += item.path + L"\t" + item.outcome + L"\r\n";
    return "\xEF\xBB\xBF" + ToUtf8(text);
}
