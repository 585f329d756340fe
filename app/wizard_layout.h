// The wizard's pages and controls as data: which control sits on which page,
// where, with what text and font. The main window creates its children from
// these tables.
#pragma once

#include <windows.h>

#include "app/geometry.h"

#include <span>
#include <string_view>

// Pages in the page control's order; the index is what shows a page.
enum Page : int {
    tsStart = 0,
    tsInputPath = 1,
    tsInputComponents = 2,
    tsProgressInstall = 3,
    tsCancel = 4,
    tsChangeFontSize = 5,
};
constexpr int kPageCount = 6;

enum ControlId : int {
    ID_BtnStartNext = 1001,
    ID_BtnCancel,
    ID_ePath,
    ID_BtnSelectPath,
    ID_BtnInputPathNext,
    ID_BtnCancel2,
    ID_CbDriverInstal,
    ID_CBWindows,
    ID_BtnInsatall,
    ID_BtnInputComponentsBack,
    ID_BtnCancel4,
    ID_LogList,
    ID_BtnExit,
    ID_BtnExitCancel,
    ID_BtnChangeFont,
    ID_BtnExitOnChangefont,
    ID_PnlPath,
    ID_FirstMemo,  // the text boxes, one per page: ID_FirstMemo + page
    ID_FirstBar = ID_FirstMemo + kPageCount,
};

enum class FontKind { Page, Times20, Tahoma15 };
enum class Parent { Page, Bar, PathPanel };

struct ControlLayout {
    Page page;
    Parent parent;
    const wchar_t* className;  // a window class of the system
    const wchar_t* text;
    DWORD style;    // WS_CHILD and WS_VISIBLE are added
    Bounds bounds;  // in the parent
    int id;
    DWORD exStyle = 0;
};

struct PageLayout {
    std::span<const std::wstring_view> lines;  // the text box, one item per line
    FontKind font;
    COLORREF textColor;
    int memoHeight;  // 0: the box fills the page above its bar
    int barHeight;
    int forwardButton;  // Enter presses it (0: none)
    int cancelButton;   // Esc presses it (0: none)
};

// The layout of page, and every control of every page.
const PageLayout& LayoutOf(Page page);
std::span<const ControlLayout> Controls();

// Geometry shared by the tables and the window.
constexpr int kPageWidth = 619;
constexpr int kPageHeight = 441;
constexpr int kMargin = 8;
