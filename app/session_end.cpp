#include "app/session_end.h"

#include "base/setup_log.h"

namespace {
constexpr wchar_t kReason[] =
    L"Идёт установка комплекса \"Velmora-Холтер\": копируются файлы программы и база данных. "
    L"Дождитесь окончания установки.";
}

void ShowSessionEndReason(HWND window, bool block) {
    if (block ? ShutdownBlockReasonCreate(window, kReason) : ShutdownBlockReasonDestroy(window)) return;
    setup_log::WriteError(block ? L"Session end: the reason for refusing cannot be registered"
                                : L"Session end: the reason for refusing cannot be removed",
                          GetLastError());
}

LRESULT AnswerSessionEnd(bool closingAllowed) {
    if (closingAllowed) return TRUE;
    setup_log::Write(L"Session end refused: the package's files are being written");
    return FALSE;
}
