#include "engine/questions.h"

#include "base/strings.h"

Asking ConnectDriverQuestion() {
    return {Question::ConnectDriver, L"Подключите интерфейсный блок и нажмите \"Yes\"?", YesNoCaptions::English,
            DefaultButton::Yes};
}

// Asked with No as the default button: a hasty Enter must not run it.
Asking RunForeignScriptQuestion(std::wstring_view package) {
    return {Question::RunForeignScript,
            L"Пакет обновления " + std::wstring(package) + L" не совпадает с пакетом " + NameOf(package) +
                L" этого дистрибутива: в его каталоге есть другие или лишние файлы.\r\nИх мог положить туда "
                L"любой пользователь компьютера. Запускайте сценарий Install.cmd этого пакета, только если пакет "
                L"обновления установлен Вами.\r\nЗапустить сценарий?",
            YesNoCaptions::Platform, DefaultButton::No};
}

Asking GoOnWithoutRightsQuestion(const RightsNeeds& needs) {
    return {Question::GoOnWithoutRights, RightsQuestionText(needs), YesNoCaptions::Platform, DefaultButton::Yes};
}

Asking LeaveSetupQuestion() {
    return {Question::LeaveSetup, L"Установка завершена. Выйти из программы установки?", YesNoCaptions::Platform,
            DefaultButton::Yes};
}
