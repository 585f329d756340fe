#include "app/single_instance.h"

#include "base/setup_log.h"

SingleInstanceGuard::SingleInstanceGuard() : mutex_(CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName)) {
    const DWORD code = GetLastError();
    // A copy run by another user may have made the mutex with rights this
    // one lacks: that is a running copy too.
    anotherIsRunning_ = code == ERROR_ALREADY_EXISTS || (!mutex_ && code == ERROR_ACCESS_DENIED);
    if (!mutex_ && !anotherIsRunning_)
        setup_log::WriteError(L"Single-instance guard not made; the run goes on without it", code);
}
