#include "app/removal_run.h"

#include "app/application.h"
#include "app/exit_codes.h"
#include "app/install_session.h"
#include "app/run_log.h"
#include "base/file_system.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/removal.h"

namespace {

constexpr std::wstring_view kWhatStays =
    L"Останутся: база данных и её копии (DTAfb), настройки и протоколы (Settings), шрифты, драйвер устройства "
    L"и файлы, изменённые после установки.";

// The result as the box and the log say it.
std::wstring ResultText(const RemovalReport& report) {
    const std::wstring counts =
        L"\r\nУдалено: " + std::to_wstring(report.removed) + L"; оставлено изменённых после установки файлов: " +
        std::to_wstring(report.changed) + L"; не удалено из-за ошибок: " + std::to_wstring(report.failed) +
        L".\r\nПротокол удаления: " + (report.removalRecord.empty() ? L"не записан" : report.removalRecord);
    switch (report.end) {
        case RemovalEnd::NoRecord:
        case RemovalEnd::UnreadableRecord:
            return L"Удаление невозможно: " + report.error + L". Ничего не удалено.";
        case RemovalEnd::NothingToRemove:
            return L"Удалять нечего: файлов этой установки в каталоге уже нет." + counts;
        case RemovalEnd::Removed:
            return L"Программы комплекса \"Velmora-Холтер\" удалены." + counts;
        case RemovalEnd::RemovedWithFailures:
            break;
    }
    return L"Удаление завершено с ошибками (подробности в протоколе удаления)." + counts;
}

int ExitCodeOf(RemovalEnd end) {
    switch (end) {
        case RemovalEnd::NoRecord:
        case RemovalEnd::UnreadableRecord:
            return exit_code::kNotInstalled;
        case RemovalEnd::RemovedWithFailures:
            return exit_code::kStepsFailed;
        case RemovalEnd::NothingToRemove:
        case RemovalEnd::Removed:
            break;
    }
    return exit_code::kDone;
}

UINT IconOf(RemovalEnd end) {
    switch (end) {
        case RemovalEnd::NoRecord:
        case RemovalEnd::UnreadableRecord:
            return MB_ICONERROR;
        case RemovalEnd::RemovedWithFailures:
            return MB_ICONWARNING;
        case RemovalEnd::NothingToRemove:
        case RemovalEnd::Removed:
            break;
    }
    return MB_ICONINFORMATION;
}

}  // namespace

int RunRemoval(HINSTANCE instance, const CommandLine& commandLine) {
    const std::wstring folder = commandLine.installFolder.value_or(DefaultInstallFolder(instance));
    const bool quiet = commandLine.unattended;
    setup_log::Write(L"Removal started. Install folder: " + WithTrailingBackslash(folder) +
                     (quiet ? L"; unattended" : L""));
    // The entry and the removal program's folder are the administrators':
    // without their rights half a removal would be left. (An interactive
    // run has asked for them before it came here.)
    if (Elevation() == L"no") {
        setup_log::Write(L"Removal not started: no rights");
        run_log::Note(run_log::Outcome::NotStarted);
        return exit_code::kNeedsAdministrator;
    }
    if (!quiet &&
        Application.ShowMessageBox(L"Удалить программы комплекса \"Velmora-Холтер\" из каталога " +
                                       WithTrailingBackslash(folder) + L"?\r\n\r\n" + std::wstring(kWhatStays),
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        setup_log::Write(L"Removal not started: the answer was No");
        run_log::Note(run_log::Outcome::Cancelled);
        return exit_code::kDone;
    }
    const RemovalReport report = RemoveInstallation(folder, ModulePath());
    const std::wstring text = ResultText(report);
    setup_log::Write(L"Removal ended: " + text);
    if (!quiet) Application.ShowMessageBox(text, MB_OK | IconOf(report.end));
    const bool refused = report.end == RemovalEnd::NoRecord || report.end == RemovalEnd::UnreadableRecord;
    run_log::Note(refused ? run_log::Outcome::NotStarted : run_log::Outcome::Completed);
    return ExitCodeOf(report.end);
}
