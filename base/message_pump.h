// Lets the window system catch up while a long step runs on the UI thread.
#pragma once

#include <windows.h>

// Dispatches every pending message of the calling thread, then returns.
void ProcessPendingMessages();

// Waits until object is signalled, dispatching the calling thread's messages
// meanwhile (its windows repaint and answer other programs' SendMessage). A
// quit request taken from the queue is posted again when the wait ends.
// Returns ERROR_SUCCESS once object is signalled, or the system error code
// of the failed wait (ERROR_ABANDONED_WAIT_0 for an abandoned mutex).
DWORD WaitProcessingMessages(HANDLE object);
