// The Windows session (a log-off, a restart started by Windows Update) must
// not end while the package's files are written: the main window refuses it
// for that span and names the installation as the reason Windows shows.
#pragma once

#include <windows.h>

// Registers (block) or removes (not block) the reason shown for window in
// the system's list of programs that keep the session from ending. A system
// that refuses is noted in the setup log; nothing else changes.
void ShowSessionEndReason(HWND window, bool block);

// The window's answer to WM_QUERYENDSESSION: TRUE (the session may end) when
// closing is allowed, FALSE otherwise; a refusal goes to the setup log.
LRESULT AnswerSessionEnd(bool closingAllowed);
