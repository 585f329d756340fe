#include "base/callback_guard.h"

#include "base/setup_log.h"

namespace {
CallbackErrorReport g_report = nullptr;
}

void SetCallbackErrorReport(CallbackErrorReport report) noexcept {
    g_report = report;
}

void ReportCallbackError() noexcept {
    if (g_report) {
        g_report();
        return;
    }
    try {
        setup_log::Write(L"An error ended a callback before the error report was ready");
    } catch (...) {
        // Nothing is left to tell it with.
    }
}
