#include "app/install_view_adapter.h"

#include <optional>

#include "app/application.h"
#include "app/english_yes_no.h"
#include "app/large_fonts.h"
#include "app/resources_access.h"
#include "app/run_log.h"
#include "app/session_end.h"
#include "base/file_system.h"
#include "base/message_pump.h"
#include "base/setup_log.h"
#include "engine/install_sequence.h"
#include "engine/preflight.h"
#include "shared/ScreenMonitorManager.h"
#include "shared/screen_cursor.h"

std::wstring MainWindowInstallView::InstallFolderText() {
    HWND field = window_.Control(ID_ePath);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

int MainWindowInstallView::WindowsChoice() {
    return static_cast<int>(SendMessageW(window_.Control(ID_CBWindows), CB_GETCURSEL, 0, 0));
}

bool MainWindowInstallView::DriverChosen() {
    return SendMessageW(window_.Control(ID_CbDriverInstal), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool MainWindowInstallView::AlternativeBrand() {
    return window_.AlternativeBrand;
}

std::wstring MainWindowInstallView::ResourceString(int entry) {
    return LoadResString(Application.Instance(), entry);
}

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
    window_.FCanClose = !busy;
    ShowSessionEndReason(window_.Handle(), busy);
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

void MainWindowInstallView::EnableExit() {
    EnableWindow(window_.Control(ID_BtnExit), TRUE);
}

bool MainWindowInstallView::OfferLargeFonts() {
    if (!IsSmallFonts()) return false;
    window_.SetActivePage(tsChangeFontSize);
    return true;
}

void MainWindowInstallView::CloseWindow() {
    SendMessageW(window_.Handle(), WM_CLOSE, 0, 0);
}

void TFMain::BtnInsatallClick() {
    // Messages are processed while the installation runs.
    if (installing_) return;
    installing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{installing_};

    MainWindowInstallView view(*this);
    Fcopyfrom = ModuleFolder();
    // Nothing is written until the room and the rights have been checked.
    if (!CheckBeforeInstallation(view, Fcopyfrom)) return;
    // An error raised inside reaches the window procedure's report, which
    // notes the run as ended by an error.
    run_log::Note(RunInstallation(view, Fcopyfrom) ? run_log::Outcome::Completed : run_log::Outcome::Error);
}
