// Plain container windows of the main window: the page control, its pages,
// the button bars and the folder panel. A panel paints itself in the page
// colour, optionally with a frame, and passes its children's notifications
// (commands, colour requests) up to its parent, so the main window handles
// every control in one place.
#pragma once

#include <windows.h>

#include "app/geometry.h"
#include "base/window_base.h"

enum class PanelFrame { None, Rounded };

class TPanel : public WindowBase<TPanel> {
public:
    // brush fills the panel's background; it must outlive the panel.
    TPanel(HBRUSH brush, PanelFrame frame) : brush_(brush), frame_(frame) {}

    // Creates the visible panel window as a child of parent. Raises Error
    // when the window cannot be created.
    void Create(HWND parent, const Bounds& bounds, int id);

private:
    friend class WindowBase<TPanel>;
    static WindowClass Class(HINSTANCE instance);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Paint();

    HBRUSH brush_;
    PanelFrame frame_;
};
