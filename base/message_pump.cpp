#include "base/message_pump.h"

#include <windows.h>

#include <optional>

void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

DWORD WaitProcessingMessages(HANDLE object) {
    std::optional<int> quit;
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1) {
            // Taken before posting the quit request can change it.
            const DWORD code = woken == WAIT_OBJECT_0 ? ERROR_SUCCESS
                               : woken == WAIT_FAILED ? GetLastError()
                                                      : ERROR_ABANDONED_WAIT_0;
            if (quit) PostQuitMessage(*quit);
            return code;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Kept for the main loop: posted at once, it would wake this wait
            // again and again.
            if (msg.message == WM_QUIT) {
                quit = static_cast<int>(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
