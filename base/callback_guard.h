// Exceptions never cross a frame that the system calls back: window
// procedures, enumeration callbacks, stream callbacks. Each such callback
// runs its body through GuardCallback, which hands any exception to the
// program's error report and returns the callback's failure value instead.
#pragma once

#include <utility>

// Reports the exception being handled; called only inside a catch block and
// never raises. The program installs its default error report here at
// start-up.
using CallbackErrorReport = void (*)() noexcept;

// Installs the report for exceptions caught by GuardCallback; nullptr
// restores the fallback, which records the error in the setup log only.
void SetCallbackErrorReport(CallbackErrorReport report) noexcept;

// Hands the exception being handled to the installed report. Call only inside
// a catch block.
void ReportCallbackError() noexcept;

// Runs body and returns its result; when it raises, reports the error and
// returns onError.
template <typename Result, typename Body>
Result GuardCallback(Result onError, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        ReportCallbackError();
        return onError;
    }
}
