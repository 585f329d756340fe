// TFMain: the wizard's main window. It owns the pictures, the pages and their
// controls, the close guard, and the handlers that move between the pages.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/background.h"
#include "app/bg_surface.h"
#include "app/install_session.h"
#include "app/panel.h"
#include "app/wizard_layout.h"
#include "base/handles.h"
#include "base/window_base.h"
#include "engine/install_request.h"
#include "engine/install_view.h"

struct CommandLine;

class TFMain : public WindowBase<TFMain> {
public:
    // Creates and shows the window (runs FormCreate). Raises Error when the
    // window or one of its pictures cannot be made.
    void Create(HINSTANCE instance);

private:
    friend class WindowBase<TFMain>;
    // Fills the fields from the command line before the user sees them.
    friend void PresetWizard(TFMain& window, const CommandLine& commandLine);
    static WindowClass Class(HINSTANCE instance);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    HWND Control(int id) const;
    void SetActivePage(Page page);
    // Refuses the session's end while step (what the installation is
    // doing) is not empty; allows it again for an empty step.
    void HoldSession(std::wstring_view step);
    // Enables or disables every button (the check box included) of page.
    void EnablePageButtons(Page page, bool enable);

    void FormCreate();
    void CreateFonts();
    void CreatePages();
    void CreateSidePanel();
    HWND CreatePanel(HWND parent, const Bounds& bounds, int id, HBRUSH brush, PanelFrame frame);
    void BGResize(Bitmap& buffer);
    HFONT FontFor(FontKind kind) const;
    LRESULT PageColours(HDC dc, HWND control);
    void OnCommand(int id, int code);
    void PressPageButton(int id);
    void OnActivate(bool active);

    // Handlers named after their controls and events.
    void FormCloseQuery();
    void BtnCancelClick();
    void BtnExitClick();
    void BtnStartNextClick();
    void BtnSelectPathClick();
    void BtnInputPathNextClick();
    void tsInputComponentsShow();
    void BtnInputComponentsBackClick();
    void BtnInsatallClick();
    // The folder field as it stands.
    std::wstring FolderFieldText() const;
    InstallChoices ReadInstallChoices() const;
    void EndInstallation(InstallView& view);
    void BtnChangeFontClick();

    // Whether a request to close the window is granted.
    bool FCanClose = true;
    std::wstring AppNameStr;
    std::wstring Fcopyfrom;

    HINSTANCE instance_ = nullptr;
    HWND RichEdit1 = nullptr;
    HWND InsatallPages = nullptr;
    HWND pages_[kPageCount] = {};
    std::map<int, HWND> controls_;
    Page activePage_ = tsStart;
    HWND lastFocus_ = nullptr;
    TBGSurface BG;

    // The seven pictures, owned once and handed to the composition as they are.
    BackgroundPictures pictures_;
    COLORREF pageColour_ = RGB(236, 236, 235);
    ScopedBrush pageBrush_;
    ScopedFont msSans13_, tahoma15_, times20_;
    ScopedModule richEditLibrary_;
    // Set while the installation runs: a click queued before the page
    // changed must not start it a second time.
    bool installing_ = false;
    // What the installation does while the session may not end; empty
    // otherwise.
    std::wstring sessionStep_;
    std::vector<std::unique_ptr<TPanel>> panels_;
};
