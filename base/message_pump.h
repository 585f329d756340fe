// Lets the window system catch up while a long step runs on the UI thread.
#pragma once

#include <windows.h>

// Dispatches every pending message of the calling thread, then returns.
void ProcessPendingMessages();

// Waits until object is signalled, dispatching the calling thread's messages
// meanwhile (its windows repaint and answer other programs' SendMessage). A
// quit request taken from the queue is posted again when the wait ends.
// Returns WAIT_OBJECT_0, or WAIT_FAILED when the wait itself fails.
DWORD WaitProcessingMessages(HANDLE object);
