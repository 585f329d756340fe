// Lets the window system catch up while a long step runs on the UI thread.
#pragma once

// Dispatches every pending message of the calling thread, then returns.
void ProcessPendingMessages();
