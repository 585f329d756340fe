#include "app/install_view_adapter.h"

#include <optional>

#include "app/application.h"
#include "app/english_yes_no.h"
#include "app/large_fonts.h"
#include "app/resources_access.h"
#include "app/run_log.h"
#include "base/file_system.h"
#include "base/message_pump.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/install_sequence.h"
#include "engine/preflight.h"
#include "shared/ScreenMonitorManager.h"
#include "shared/screen_cursor.h"

namespace {

constexpr std::wstring_view kFinalQuestion = L"Установка завершена. Выйти из программы установки?";

}  // namespace

void MainWindowInstallView::ShowProgressPage() {
    SendMessageW(Log(), LB_RESETCONTENT, 0, 0);
    ShowWindow(Log(), SW_SHOW);
    window_.SetActivePage(tsProgressInstall);
}

int MainWindowInstallView::AddLine(std::wstring_view text) {
    const std::wstring line(text);
    const auto index =
        static_cast<int>(SendMessageW(Log(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str())));
    // Keep the newest line in view.
    SendMessageW(Log(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    setup_log::Write(L"Progress: " + line);
    return index;
}

void MainWindowInstallView::AppendToLine(int index, std::wstring_view text) {
    const auto at = static_cast<WPARAM>(index);
    const LRESULT length = SendMessageW(Log(), LB_GETTEXTLEN, at, 0);
    if (length == LB_ERR) return;
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    line.resize(static_cast<size_t>(SendMessageW(Log(), LB_GETTEXT, at, reinterpret_cast<LPARAM>(line.data()))));
    line += text;
    SendMessageW(Log(), LB_DELETESTRING, at, 0);
    SendMessageW(Log(), LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(line.c_str()));
    setup_log::Write(L"Progress: " + line);
}

void MainWindowInstallView::Refresh() {
    ProcessPendingMessages();
}

void MainWindowInstallView::RepaintLog() {
    RedrawWindow(Log(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void MainWindowInstallView::SetBusy(bool busy) {
    window_.SetCanClose(!busy);
    SetScreenCursor(busy ? crHourGlass : crDefault);
}

bool MainWindowInstallView::AskYesNo(std::wstring_view question, YesNoCaptions captions) {
    std::optional<ScopedEnglishYesNo> english;
    if (captions == YesNoCaptions::English) english.emplace();
    return Application.ShowMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MainWindowInstallView::ShowErrorBox(std::wstring_view text) {
    Application.ShowMessageBox(text, MB_OK | MB_ICONERROR);
}

InstallRequest TFMain::ReadInstallRequest() const {
    InstallRequest request;
    request.installFolder = TrimControl(FolderFieldText());
    // The hidden list's first item is "Windows 7, Windows 8".
    request.runtime = SendMessageW(Control(ID_CBWindows), CB_GETCURSEL, 0, 0) == 0 ? RuntimeChoice::Modern
                                                                                   : RuntimeChoice::WindowsXp;
    request.driver = SendMessageW(Control(ID_CbDriverInstal), BM_GETCHECK, 0, 0) == BST_CHECKED;
    request.alternativeBrand = AlternativeBrand;
    request.shortcut = DesktopShortcutNames(Application.Instance());
    return request;
}

// "Выход" is enabled; at small fonts the page that offers large fonts
// follows, otherwise the question whether to leave, whose Yes closes the
// window.
void TFMain::EndInstallation(InstallView& view) {
    EnableWindow(Control(ID_BtnExit), TRUE);
    if (IsSmallFonts()) {
        SetActivePage(tsChangeFontSize);
        return;
    }
    if (view.AskYesNo(kFinalQuestion, YesNoCaptions::Platform)) SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TFMain::BtnInsatallClick() {
    // Messages are processed while the installation runs.
    if (installing_) return;
    installing_ = true;
    // From this click until the installation's outcome the options page's
    // buttons are disabled: a click on "Отмена" or "Назад" queued meanwhile
    // must not cancel an installation that goes on.
    EnablePageButtons(tsInputComponents, false);
    struct Done {
        TFMain& window;
        ~Done() {
            window.installing_ = false;
            window.EnablePageButtons(tsInputComponents, true);
        }
    } done{*this};

    MainWindowInstallView view(*this);
    const InstallRequest request = ReadInstallRequest();
    Fcopyfrom = ModuleFolder();
    // Nothing is written until the room and the rights have been checked.
    if (!CheckBeforeInstallation(view, request, Fcopyfrom)) return;
    // An error raised inside reaches the window procedure's report, which
    // notes the run as ended by an error.
    const InstallOutcome outcome = RunInstallation(view, request, Fcopyfrom);
    if (outcome == InstallOutcome::Completed) EndInstallation(view);
    run_log::Note(outcome == InstallOutcome::Completed ? run_log::Outcome::Completed : run_log::Outcome::Error);
}
