#include "engine/questions.h"

#include "base/strings.h"

Asking ConnectDriverQuestion() {
    return {Question::ConnectDriver, L"Подключите интерфейсный блок и нажмите \"Yes\"?", YesNoCaptions::English};
}

Asking RunForeignScriptQuestion(std::wstring_view package, std::wstring_view script) {
    return {Question::RunForeignScript,
            L"Сценарий обновления " + std::wstring(script) +
                L" не входит в этот дистрибутив: в дистрибутиве нет пакета обновления " + NameOf(package) +
                L" с таким же сценарием.\r\nЕго мог положить туда любой пользователь компьютера. Запускайте его, "
                L"только если этот пакет обновления установлен Вами.\r\nЗапустить сценарий?",
            YesNoCaptions::Platform};
}

Asking GoOnWithoutRightsQuestion() {
    return {Question::GoOnWithoutRights,
            L"Шрифты и драйвер устройства не могут быть установлены без прав администратора.\r\n"
            L"Чтобы установить их, запустите программу установки от имени администратора.\r\n"
            L"Продолжить установку?",
            YesNoCaptions::Platform};
}

Asking LeaveSetupQuestion() {
    return {Question::LeaveSetup, L"Установка завершена. Выйти из программы установки?", YesNoCaptions::Platform};
}
