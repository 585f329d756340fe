// The view of an unattended run: nothing shown, every line, box and question
// with its fixed answer in the setup log, and the preflight's refusal of a
// process without administrator rights as its answer makes it.
#include "app/unattended_view.h"

#include <gtest/gtest.h>

#include "engine/preflight.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"

namespace {

// A text as the setup log keeps it: each line break becomes a blank.
std::wstring OneLine(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    return text;
}

// Every question the installation can ask, with its unattended answer: the
// answer follows what is asked, whatever the text says (a foreign script's
// text names any folder, even one that reads like the driver question).
TEST(UnattendedView, EveryQuestionHasItsAnswerAndEveryAnswerIsLogged) {
    const struct {
        Asking asking;
        bool yes;
    } cases[] = {
        {ConnectDriverQuestion(), true},
        {RunForeignScriptQuestion(L"C:\\Holter\\backup\\X991231"), false},
        {RunForeignScriptQuestion(L"C:\\Подключите интерфейсный блок и нажмите \"Yes\"?"), false},
        {GoOnWithoutRightsQuestion({.fonts = true, .driver = true, .unwritableFolder = {}}), false},
        {GoOnWithoutRightsQuestion({.fonts = false, .driver = false, .unwritableFolder = L"C:\\Holter"}), false},
        {LeaveSetupQuestion(), false},
        {{Question::ConnectDriver, L"any text", YesNoCaptions::Platform, DefaultButton::No}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.asking.question));
        EXPECT_EQ(UnattendedAnswer(c.asking.question), c.yes);
        const SetupLogCapture log;
        UnattendedView view;
        EXPECT_EQ(view.AskYesNo(c.asking), c.yes);
        EXPECT_EQ(log.Events(),
                  (std::vector<std::wstring>{
                      L"Question (unattended, not shown): " + OneLine(c.asking.text),
                      c.yes ? L"Answer: Yes (unattended: /DRIVER=YES chose the driver)"
                            : L"Answer: No (unattended: every question but the driver's is answered No)",
                  }));
    }
}

// Lines are logged by the installation as they are shown, once; the view
// logs the boxes nobody sees.
TEST(UnattendedView, BoxesGoToTheLogAndLinesAreNotLoggedTwice) {
    const SetupLogCapture log;
    UnattendedView view;
    view.ShowProgressPage();
    const int first = view.AddLine(L"Копирование файла V12.FDB....");
    const int second = view.AddLine(L"Копирование файла gbak.exe....");
    view.AppendToLine(first, L"Завершено");
    view.ShowErrorBox(L"Ошибка при создании каталога!");
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(log.Events(), (std::vector<std::wstring>{
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
    request.installFolder = temp / L"Holter";
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
