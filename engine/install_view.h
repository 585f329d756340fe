// The main window as the installation sequence sees it while it runs: the
// progress list it writes and the few questions and boxes it shows. The
// window implements it; tests record through it.
#pragma once

#include <string_view>

#include "engine/file_ops.h"
#include "engine/questions.h"

class InstallView {
public:
    virtual ~InstallView() = default;

    // Clears the progress list, shows it and switches to the progress page.
    virtual void ShowProgressPage() = 0;
    // Adds a line at the end of the progress list; returns its index.
    virtual int AddLine(std::wstring_view text) = 0;
    // Appends text directly to the line at index.
    virtual void AppendToLine(int index, std::wstring_view text) = 0;
    // Lets the window process its pending messages, so the page and the
    // newest lines are drawn.
    virtual void Refresh() = 0;
    // Redraws the progress list at once, without processing messages.
    virtual void RepaintLog() = 0;
    // Busy: closing the window is refused and the hourglass shows; not busy:
    // closing is allowed and the default cursor is back.
    virtual void SetBusy(bool busy) = 0;
    // While step is not empty the Windows session may not end: a log-off
    // would kill the running step half-way (the update script changes the
    // database) and the release level would never be recorded. step says
    // what is being done, for the setup log should the session end anyway.
    // Empty: the session may end again.
    virtual void HoldSession(std::wstring_view step) = 0;

    // A confirmation box with Yes and No for the question, with its text and
    // captions; true for Yes.
    virtual bool AskYesNo(const Asking& asking) = 0;
    // An error box with OK.
    virtual void ShowErrorBox(std::wstring_view text) = 0;
    // Whether the shell's own operations (the driver folder's copy) may show
    // their progress and ask their questions: not when nobody is there.
    virtual ShellCopyUi ShellUi() const = 0;
};
