#include "app/session_end.h"

#include <string>

#include "base/setup_log.h"

namespace {
constexpr wchar_t kReason[] =
    L"Идёт установка комплекса \"Velmora-Холтер\": копируются файлы программы и база данных, "
    L"выполняется обновление. Дождитесь окончания установки.";
}

void ShowSessionEndReason(HWND window, bool block) {
    if (block ? ShutdownBlockReasonCreate(window, kReason) : ShutdownBlockReasonDestroy(window)) return;
    setup_log::WriteError(block ? L"Session end: the reason for refusing cannot be registered"
                                : L"Session end: the reason for refusing cannot be removed",
                          GetLastError());
}

LRESULT AnswerSessionEnd(std::wstring_view heldStep) {
    if (heldStep.empty()) return TRUE;
    setup_log::Write(L"Session end refused: the installation is " + std::wstring(heldStep));
    return FALSE;
}

void NoteSessionEnd(LPARAM flags, std::wstring_view heldStep, bool installing) {
    const std::wstring ending = (flags & ENDSESSION_LOGOFF) ? L"Session ends (log-off)" : L"Session ends";
    if (!heldStep.empty())
        setup_log::Write(ending + L" while the installation is " + std::wstring(heldStep) +
                         L": that step and the ones after it are not done");
    else if (installing)
        setup_log::Write(ending +
                         L" during the installation's last steps: the desktop shortcut and the end "
                         L"may not be done");
    else
        setup_log::Write(ending + L"; no installation is running");
}
