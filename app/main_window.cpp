#include "app/main_window.h"

#include <commctrl.h>
#include <richedit.h>
#include <shlobj.h>
#include <algorithm>
#include <cstring>

#include "app/application.h"
#include "app/folder_check.h"
#include "app/install_view_adapter.h"
#include "app/large_fonts.h"
#include "app/resources_access.h"
#include "app/run_log.h"
#include "app/session_end.h"
#include "app/side_panel_text_size.h"
#include "app/soft_bevel.h"
#include "app/string_table.h"
#include "base/callback_guard.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/system_library.h"
#include "shared/MessageForm.h"
#include "shared/screen_cursor.h"

namespace {

constexpr int kClientWidth = 954;
constexpr int kClientHeight = 579;
constexpr int kSidePanelId = 900;
constexpr int kPageControlId = 901;

HFONT MakeFont(const wchar_t* face, int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face);
}

std::wstring JoinLines(std::span<const std::wstring_view> lines) {
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += L"\r\n";
        text += lines[i];
    }
    return text;
}

// Feeds the INFO document to the rich-text box.
DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    return GuardCallback<DWORD>(1, [&]() -> DWORD {
        auto* rest = reinterpret_cast<std::string_view*>(cookie);
        const size_t n = std::min<size_t>(rest->size(), static_cast<size_t>(wanted));
        std::memcpy(buffer, rest->data(), n);
        rest->remove_prefix(n);
        *given = static_cast<LONG>(n);
        return 0;
    });
}

}  // namespace

WindowClass TFMain::Class(HINSTANCE instance) {
    return {.name = L"TFMain",
            .icon = LoadIconW(instance, MAKEINTRESOURCEW(1)),
            .cursor = LoadCursorW(nullptr, IDC_ARROW)};
}

void TFMain::Create(HINSTANCE instance) {
    instance_ = instance;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_CONTROLPARENT);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    CreateAttached(instance,
                   {WS_EX_CONTROLPARENT, L"Установка комплекса", style, x, y, w, h, Application.Handle()},
                   L"the main window");
    FormCreate();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(Control(LayoutOf(tsStart).forwardButton));
}

void TFMain::FormCreate() {
    LoadPngResource(pictures_.tile, L"BACKGROUND");
    LoadPngResource(pictures_.panels, L"MAIN");
    LoadPngResource(pictures_.logo, L"LOGO");
    LoadPngResource(pictures_.titleLeft, L"TITLE_PNL_L");
    LoadPngResource(pictures_.titleRight, L"TITLE_PNL_R");
    LoadPngResource(pictures_.titleMiddle, L"TITLE_PNL_M");
    LoadPngResource(pictures_.title, L"TITLE");

    // The page colour comes from the banner's top-left pixel.
    const uint32_t corner = pictures_.title.at(0, 0);
    pageColour_ = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
    pageBrush_.reset(CreateSolidBrush(pageColour_));

    CreateFonts();
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(msSans13_.get()), FALSE);
    CreateSidePanel();
    CreatePages();

    AppNameStr = LoadResString(instance_, IDS_APP_NAME);
    SetWindowTextW(Control(ID_ePath), DefaultInstallFolder(instance_).c_str());
    FCanClose = true;
    SetActivePage(tsStart);
    EnableWindow(Control(ID_BtnExit), FALSE);

    // Created last and sent to the back: its first layout composes the
    // background and places the side panel and the page control.
    BG.Create(hwnd_, [this](Bitmap& buffer) { BGResize(buffer); });
}

void TFMain::CreateFonts() {
    msSans13_.reset(MakeFont(L"MS Sans Serif", 13));
    tahoma15_.reset(MakeFont(L"Tahoma", 15));
    times20_.reset(MakeFont(L"Times New Roman", 20));
}

HFONT TFMain::FontFor(FontKind kind) const {
    switch (kind) {
        case FontKind::Times20:
            return times20_.get();
        case FontKind::Tahoma15:
        case FontKind::Page:
            break;
    }
    return tahoma15_.get();
}

void TFMain::CreateSidePanel() {
    richEditLibrary_.reset(LoadSystemLibrary(L"msftedit.dll"));
    const Bounds b{kSidePanelRect.left, kSidePanelRect.top, kSidePanelRect.width, kSidePanelRect.height};
    // No border of its own: a soft bevel, and 4 pixels between it and the text.
    RichEdit1 = CreateChildControl(MSFTEDIT_CLASS,
                                   {.style = WS_CLIPSIBLINGS | ES_MULTILINE | ES_READONLY,
                                    .x = b.x,
                                    .y = b.y,
                                    .width = b.w,
                                    .height = b.h,
                                    .parent = hwnd_,
                                    .id = kSidePanelId},
                                   msSans13_.get(), L"the side panel");
    SendMessageW(RichEdit1, EM_SETBKGNDCOLOR, 0, pageColour_);
    std::string_view rtf = RawResource(instance_, L"INFO");
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, ReadRtf};
    SendMessageW(RichEdit1, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    KeepTextAtDesignSize(RichEdit1);
    GiveSoftBevel(RichEdit1);
    RECT inner;
    GetClientRect(RichEdit1, &inner);
    InflateRect(&inner, -4, -4);
    SendMessageW(RichEdit1, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&inner));
}

void TFMain::CreatePages() {
    const Bounds pc{kPageControlRect.left, kPageControlRect.top, kPageControlRect.width, kPageControlRect.height};
    InsatallPages = CreatePanel(hwnd_, pc, kPageControlId, pageBrush_.get(), PanelFrame::None);
    HWND bars[kPageCount];
    for (int p = 0; p < kPageCount; ++p) {
        const PageLayout& layout = LayoutOf(static_cast<Page>(p));
        pages_[p] =
            CreatePanel(InsatallPages, {0, 0, kPageWidth, kPageHeight}, 0, pageBrush_.get(), PanelFrame::None);
        const int barTop = kPageHeight - kMargin - layout.barHeight;
        if (layout.memoHeight >= 0) {
            const int height = layout.memoHeight > 0 ? layout.memoHeight : barTop - 2 * kMargin;
            const std::wstring text = JoinLines(layout.lines);
            controls_[ID_FirstMemo + p] =
                CreateChildControl(WC_EDITW,
                                   {0, text.c_str(), ES_MULTILINE | ES_READONLY, kMargin, kMargin,
                                    kPageWidth - 2 * kMargin, height, pages_[p], ID_FirstMemo + p},
                                   FontFor(layout.font), L"a page's text box");
        }
        bars[p] = CreatePanel(pages_[p], {kMargin, barTop, kPageWidth - 2 * kMargin, layout.barHeight},
                              ID_FirstBar + p, pageBrush_.get(), PanelFrame::Rounded);
        controls_[ID_FirstBar + p] = bars[p];
    }
    for (const ControlLayout& c : Controls()) {
        HWND parent = c.parent == Parent::Bar         ? bars[c.page]
                      : c.parent == Parent::PathPanel ? controls_.at(ID_PnlPath)
                                                      : pages_[c.page];
        controls_[c.id] = std::wstring_view(c.className) == L"VhPanel"
                              ? CreatePanel(parent, c.bounds, c.id, pageBrush_.get(), PanelFrame::None)
                              : CreateChildControl(c.className,
                                                   {c.exStyle, c.text, c.style, c.bounds.x, c.bounds.y, c.bounds.w,
                                                    c.bounds.h, parent, c.id},
                                                   tahoma15_.get(), L"a control of the wizard");
    }
    SendMessageW(Control(ID_CbDriverInstal), BM_SETCHECK, BST_CHECKED, 0);
    HWND windows = Control(ID_CBWindows);
    SendMessageW(windows, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Windows 7, Windows 8"));
    SendMessageW(windows, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Windows XP"));
    SendMessageW(windows, CB_SETCURSEL, 0, 0);
    ShowWindow(windows, SW_HIDE);  // never shown; the sequence reads its index
    HWND log = Control(ID_LogList);
    SendMessageW(log, LB_SETITEMHEIGHT, 0, 18);
    ShowWindow(log, SW_HIDE);
}

HWND TFMain::CreatePanel(HWND parent, const Bounds& bounds, int id, HBRUSH brush, PanelFrame frame) {
    panels_.push_back(std::make_unique<TPanel>(brush, frame));
    panels_.back()->Create(parent, bounds, id);
    return panels_.back()->Handle();
}

void TFMain::HoldSession(std::wstring_view step) {
    if (sessionStep_.empty() != step.empty()) ShowSessionEndReason(hwnd_, !step.empty());
    sessionStep_ = step;
}

void TFMain::EnablePageButtons(Page page, bool enable) {
    for (const ControlLayout& c : Controls())
        if (c.page == page && std::wstring_view(c.className) == WC_BUTTONW) EnableWindow(Control(c.id), enable);
}

HWND TFMain::Control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void TFMain::BGResize(Bitmap& buffer) {
    ComposeBackground(buffer, pictures_);
    SetWindowPos(RichEdit1, nullptr, kSidePanelRect.left, kSidePanelRect.top, kSidePanelRect.width,
                 kSidePanelRect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(InsatallPages, nullptr, kPageControlRect.left, kPageControlRect.top, kPageControlRect.width,
                 kPageControlRect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFMain::SetActivePage(Page page) {
    activePage_ = page;
    for (int p = 0; p < kPageCount; ++p) ShowWindow(pages_[p], p == page ? SW_SHOW : SW_HIDE);
    const PageLayout& layout = LayoutOf(page);
    if (HWND forward = Control(layout.forwardButton); forward && IsWindowEnabled(forward)) SetFocus(forward);
    if (page == tsInputComponents) tsInputComponentsShow();
}

LRESULT TFMain::PageColours(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    COLORREF text = RGB(0, 0, 0);
    if (id >= ID_FirstMemo && id < ID_FirstMemo + kPageCount) {
        text = LayoutOf(static_cast<Page>(id - ID_FirstMemo)).textColor;
        if (text == CLR_DEFAULT) text = GetSysColor(COLOR_WINDOWTEXT);
    }
    SetTextColor(dc, text);
    SetBkColor(dc, pageColour_);
    return reinterpret_cast<LRESULT>(pageBrush_.get());
}

// Like a dialog: the control that had the focus gets it back when the window
// is activated again, and a fresh window starts on its page's forward button.
void TFMain::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return;
    }
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = Control(LayoutOf(activePage_).forwardButton);
    if (target && IsWindowVisible(target) && IsWindowEnabled(target)) SetFocus(target);
}

void TFMain::PressPageButton(int id) {
    HWND button = Control(id);
    if (button && IsWindowEnabled(button)) SendMessageW(button, BM_CLICK, 0, 0);
}

void TFMain::OnCommand(int id, int code) {
    if (code != BN_CLICKED && id != IDOK && id != IDCANCEL) return;
    // A click queued while its button was enabled can be dispatched after
    // the button was disabled, by the installation's message processing.
    if (HWND button = Control(id); button && !IsWindowEnabled(button)) return;
    switch (id) {
        case IDOK:  // Enter presses the page's forward button
            PressPageButton(LayoutOf(activePage_).forwardButton);
            break;
        case IDCANCEL:  // Esc presses the page's "Отмена"
            PressPageButton(LayoutOf(activePage_).cancelButton);
            break;
        case ID_BtnStartNext:
            BtnStartNextClick();
            break;
        case ID_BtnCancel:
        case ID_BtnCancel2:
        case ID_BtnCancel4:
            BtnCancelClick();
            break;
        case ID_BtnSelectPath:
            BtnSelectPathClick();
            break;
        case ID_BtnInputPathNext:
            BtnInputPathNextClick();
            break;
        case ID_BtnInputComponentsBack:
            BtnInputComponentsBackClick();
            break;
        case ID_BtnInsatall:
            BtnInsatallClick();
            break;
        case ID_BtnChangeFont:
            BtnChangeFontClick();
            break;
        case ID_BtnExit:
        case ID_BtnExitCancel:
        case ID_BtnExitOnChangefont:
            BtnExitClick();
            break;
        default:
            break;
    }
}

void TFMain::FormCloseQuery() {
    if (FCanClose) DestroyWindow(hwnd_);
}

void TFMain::BtnCancelClick() {
    if (Application.ShowMessageBox(L"Вы уверены, что хотите отменить процесс установки?",
                                   MB_YESNO | MB_ICONQUESTION) == IDYES) {
        FCanClose = true;
        run_log::Note(run_log::Outcome::Cancelled);
        SetActivePage(tsCancel);
    }
}

void TFMain::BtnExitClick() {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TFMain::BtnStartNextClick() {
    SetActivePage(tsInputPath);
    SetFocus(Control(ID_ePath));
}

void TFMain::BtnSelectPathClick() {
    BROWSEINFOW bi{};
    bi.hwndOwner = hwnd_;
    bi.lpszTitle = L"Выберете путь для установки программ";
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&bi);
    if (!chosen) return;
    std::wstring path(32768, L'\0');
    const bool ok = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (ok) SetWindowTextW(Control(ID_ePath), path.c_str());
}

std::wstring TFMain::FolderFieldText() const {
    HWND field = Control(ID_ePath);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TFMain::BtnInputPathNextClick() {
    HWND field = Control(ID_ePath);
    const FolderCheck check = CheckInstallFolder(FolderFieldText());

    HWND log = Control(ID_LogList);
    SendMessageW(log, LB_RESETCONTENT, 0, 0);
    ShowWindow(log, SW_SHOW);

    if (check.verdict == FolderVerdict::Empty) {
        Application.ShowMessageBox(L"Не выбран путь для установки программы!", MB_OK | MB_ICONERROR);
        SetFocus(field);
        return;
    }
    SetWindowTextW(field, check.path.c_str());
    // A relative folder would follow the current folder, which the update
    // step changes half-way through the installation.
    const wchar_t* refusal = check.verdict == FolderVerdict::RootOnly
                                 ? L"Программу нелзя устанавливать в корневой каталог!"
                             : check.verdict == FolderVerdict::Relative
                                 ? L"Задайте полный путь для установки программы (например, C:\\Holter)!"
                                 : nullptr;
    if (refusal) {
        Application.ShowMessageBox(refusal, MB_OK | MB_ICONWARNING);
        SetFocus(field);
        return;
    }
    // A failure shows later, when the installation starts.
    CreateInstallFolders(check.path);
    SetActivePage(tsInputComponents);
}

void TFMain::tsInputComponentsShow() {
    const std::wstring warning =
        L"Внимание!\r Если на вашем компьютере уже установлен комплекс \"Velmora-Холтер\",\r снимите галочку "
        L"установки драйвера!";
    setup_log::Write(L"Message window: " + warning);
    const bool ok = ShowTimedMessage(warning, mtMessage, L"", 0);
    setup_log::Write(ok ? L"Answer: OK" : L"Answer: none (closed or timed out)");
}

void TFMain::BtnInputComponentsBackClick() {
    SetActivePage(tsInputPath);
}

void TFMain::BtnChangeFontClick() {
    // A size that was not changed needs no restart: say why instead.
    if (const std::wstring refused = ChangeFontSize(); !refused.empty()) {
        Application.ShowMessageBox(refused, MB_OK | MB_ICONERROR);
        return;
    }
    if (Application.ShowMessageBox(L"Изменения в настройки внесены, для того чтобы они\r\n"
                                   L"вступили в силу, требуется перзагрузить операционную систему.\r\n"
                                   L"Выполнить перезагрузку сейчас?",
                                   MB_YESNO | MB_ICONWARNING) == IDYES) {
        // A refused restart would leave the user waiting for one that never
        // comes: say why and ask for a restart by hand before closing.
        const std::wstring refused = RequestRestart();
        if (!refused.empty()) Application.ShowMessageBox(refused, MB_OK | MB_ICONERROR);
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

LRESULT TFMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return PageColours(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_ACTIVATE:
            OnActivate(LOWORD(wp) != WA_INACTIVE);
            return 0;
        case WM_SETCURSOR:
            if (ApplyCursorForWindow()) return TRUE;
            break;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == SC_MINIMIZE) {
                Application.Minimize();
                return 0;
            }
            break;
        case WM_CLOSE:
            FormCloseQuery();
            return 0;
        case WM_QUERYENDSESSION:
            return AnswerSessionEnd(sessionStep_);
        case WM_ENDSESSION:
            if (wp) NoteSessionEnd(lp, sessionStep_, installing_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

InstallChoices TFMain::ReadInstallChoices() const {
    // The hidden list's first item is "Windows 7, Windows 8".
    return {.installFolder = TrimControl(FolderFieldText()),
            .runtime = SendMessageW(Control(ID_CBWindows), CB_GETCURSEL, 0, 0) == 0 ? RuntimeChoice::Modern
                                                                                    : RuntimeChoice::WindowsXp,
            .driver = SendMessageW(Control(ID_CbDriverInstal), BM_GETCHECK, 0, 0) == BST_CHECKED};
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
    if (view.AskYesNo(LeaveSetupQuestion())) SendMessageW(Handle(), WM_CLOSE, 0, 0);
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

    MainWindowInstallView view({.window = hwnd_,
                                .log = Control(ID_LogList),
                                .showProgressPage = [this] { SetActivePage(tsProgressInstall); },
                                .setCanClose = [this](bool canClose) { FCanClose = canClose; },
                                .holdSession = [this](std::wstring_view step) { HoldSession(step); }});
    Fcopyfrom = ModuleFolder();
    const InstallSession session(instance_, ReadInstallChoices(), Fcopyfrom, ModulePath());
    // Nothing is written until the room and the rights have been checked;
    // the page stays for another try.
    if (session.Check(view)) return;
    // An error raised inside reaches the window procedure's report, which
    // notes the run as ended by an error.
    const SessionEnd end = session.Install(view);
    if (end != SessionEnd::EndedEarly) EndInstallation(view);
    NoteEnding(end);
}
