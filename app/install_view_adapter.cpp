#include "app/install_view_adapter.h"

#include <optional>

#include "app/application.h"
#include "app/english_yes_no.h"
#include "app/list_extent.h"
#include "base/message_pump.h"
#include "base/setup_log.h"
#include "shared/ScreenMonitorManager.h"
#include "shared/screen_cursor.h"

void MainWindowInstallView::ShowProgressPage() {
    SendMessageW(Log(), LB_RESETCONTENT, 0, 0);
    ResetListWidth(Log());
    ShowWindow(Log(), SW_SHOW);
    window_.showProgressPage();
}

int MainWindowInstallView::AddLine(std::wstring_view text) {
    const std::wstring line(text);
    const auto index =
        static_cast<int>(SendMessageW(Log(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str())));
    WidenListToLine(Log(), line);
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
    WidenListToLine(Log(), line);
    setup_log::Write(L"Progress: " + line);
}

void MainWindowInstallView::Refresh() {
    ProcessPendingMessages();
}

void MainWindowInstallView::RepaintLog() {
    RedrawWindow(Log(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void MainWindowInstallView::SetBusy(bool busy) {
    window_.setCanClose(!busy);
    SetScreenCursor(busy ? crHourGlass : crDefault);
}

bool MainWindowInstallView::AskYesNo(std::wstring_view question, YesNoCaptions captions, DefaultButton byDefault) {
    std::optional<ScopedEnglishYesNo> english;
    if (captions == YesNoCaptions::English) english.emplace();
    const UINT button = byDefault == DefaultButton::No ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return Application.ShowMessageBox(question, MB_YESNO | MB_ICONQUESTION | button) == IDYES;
}

void MainWindowInstallView::ShowErrorBox(std::wstring_view text) {
    Application.ShowMessageBox(text, MB_OK | MB_ICONERROR);
}
