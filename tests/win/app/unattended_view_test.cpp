// The view of an unattended run: nothing shown, every line, box and question
// with its fixed answer in the setup log, and the preflight's refusal of a
// process without administrator rights as its answer makes it.
#include "app/unattended_view.h"

#include <gtest/gtest.h>

#include "engine/install_sequence.h"
#include "engine/preflight.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"

namespace {

struct Question {
    std::wstring text;
    YesNoCaptions captions;
    bool yes;
};

TEST(UnattendedView, OnlyTheDriverQuestionIsAnsweredYesAndEveryAnswerIsLogged) {
    const Question questions[] = {
        {std::wstring(kConnectDriverQuestion), YesNoCaptions::English, true},
        {L"Продолжить установку?", YesNoCaptions::Platform, false},
        {L"Пакет обновления <U991231> не из этого дистрибутива. Выполнить его Install.cmd?",
         YesNoCaptions::Platform, false},
        {L"Установка завершена. Выйти из программы установки?", YesNoCaptions::Platform, false},
    };
    for (const Question& q : questions) {
        const SetupLogCapture log;
        UnattendedView view;
        EXPECT_EQ(view.AskYesNo(q.text, q.captions, DefaultButton::No), q.yes);
        EXPECT_EQ(log.Events(),
                  (std::vector<std::wstring>{
                      L"Question (unattended, not shown): " + q.text,
                      q.yes ? L"Answer: Yes (unattended: /DRIVER=YES chose the driver)"
                            : L"Answer: No (unattended: every question but the driver's is answered No)",
                  }));
    }
}

TEST(UnattendedView, LinesAndBoxesGoToTheLogAsTheWindowWouldShowThem) {
    const SetupLogCapture log;
    UnattendedView view;
    view.ShowProgressPage();
    const int first = view.AddLine(L"Копирование файла V12.FDB....");
    const int second = view.AddLine(L"Копирование файла gbak.exe....");
    view.AppendToLine(first, L"Завершено");
    view.AppendToLine(second, L"ОШИБКА!!!");
    view.AppendToLine(7, L"lost");
    view.ShowErrorBox(L"Ошибка при создании каталога!");
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(log.Events(), (std::vector<std::wstring>{
                                L"Progress: Копирование файла V12.FDB....",
                                L"Progress: Копирование файла gbak.exe....",
                                L"Progress: Копирование файла V12.FDB....Завершено",
                                L"Progress: Копирование файла gbak.exe....ОШИБКА!!!",
                                L"Error box (unattended, not shown): Ошибка при создании каталога!",
                            }));
}

bool RightsMissing() {
    return false;
}
RightsNeeds FontsAndDriverNeeded(const InstallRequest&) {
    return {true, true, L""};
}

// Without administrator rights the preflight's question gets No: the run is
// refused (exit code 740) before anything is written.
TEST(UnattendedView, WithoutRightsThePreflightRefusesTheRun) {
    TempFolder temp;
    const std::wstring package = temp / L"package\\";
    BuildPackage(package);
    InstallRequest request;
    request.installFolder = temp / L"Holter\\";
    const SetupLogCapture log;
    UnattendedView view;
    EXPECT_EQ(
        CheckBeforeInstallation(view, request, package, RightsMissing, FreeBytesForUser, FontsAndDriverNeeded),
        PreflightVerdict::NoRights);
    EXPECT_TRUE(
        log.Has(L"Question (unattended, not shown): Шрифты и драйвер устройства не могут быть установлены"));
    EXPECT_TRUE(log.Has(L"Answer: No (unattended"));
    EXPECT_TRUE(log.Has(L"Installation not started: no rights"));
    EXPECT_EQ(GetFileAttributesW(request.installFolder.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
