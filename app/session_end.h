// The Windows session (a log-off, a restart started by Windows Update) must
// not end while the installation writes the package's files or runs the
// update script: the main window refuses it for that span, names the
// installation as the reason Windows shows, and notes in the setup log a
// session that ends anyway.
#pragma once

#include <windows.h>

#include <string_view>

// Registers (block) or removes (not block) the reason shown for window in
// the system's list of programs that keep the session from ending. A system
// that refuses is noted in the setup log; nothing else changes.
void ShowSessionEndReason(HWND window, bool block);

// The window's answer to WM_QUERYENDSESSION: TRUE (the session may end) when
// heldStep is empty, FALSE otherwise; a refusal goes to the setup log with
// the step.
LRESULT AnswerSessionEnd(std::wstring_view heldStep);

// Notes a session that ends (WM_ENDSESSION with TRUE; flags is its lParam)
// in the setup log, with what the installation had not done: heldStep and
// everything after it, the last steps when installing without a held step,
// nothing when no installation runs.
void NoteSessionEnd(LPARAM flags, std::wstring_view heldStep, bool installing);
