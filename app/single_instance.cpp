#include "app/single_instance.h"

#include <aclapi.h>

#include <vector>

#include "base/handles.h"
#include "base/run_facts.h"
#include "base/setup_log.h"

namespace {

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
    return IsWellKnownSid(sid, type) != FALSE;
}

}  // namespace

bool IsOwnedByAnInstallation(HANDLE mutex) {
    PSID owner = nullptr;
    ScopedLocalMemory descriptor;
    // Windows gives every named object an owner, readable through the full
    // access the mutex was opened with; where none can be read (Wine keeps
    // none) the guard stops the run, as it did before owners counted.
    if (GetSecurityInfo(mutex, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        descriptor.receive()) != ERROR_SUCCESS ||
        !owner)
        return true;
    if (IsWellKnown(owner, WinBuiltinAdministratorsSid) || IsWellKnown(owner, WinLocalSystemSid)) return true;
    const std::vector<unsigned char> user = ProcessTokenUser();
    return !user.empty() && EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid);
}

SingleInstanceGuard::SingleInstanceGuard() : mutex_(CreateMutexW(nullptr, FALSE, kSingleInstanceMutexName)) {
    const DWORD code = GetLastError();
    if (mutex_ && code == ERROR_ALREADY_EXISTS) {
        anotherIsRunning_ = IsOwnedByAnInstallation(mutex_.get());
        if (!anotherIsRunning_)
            setup_log::Write(
                L"Single-instance guard: the mutex exists but was made by another user, not by an "
                L"installation of this user or the administrators; it does not stop this run");
        return;
    }
    if (mutex_) return;
    // Refused: the mutex exists with rights this process lacks. An
    // installation of the administrators keeps a standard user out, which
    // is one running; an administrator refused is facing a mutex some other
    // user made to stop every installation.
    if (code == ERROR_ACCESS_DENIED && Elevation() != L"yes") {
        anotherIsRunning_ = true;
        return;
    }
    setup_log::WriteError(L"Single-instance guard not made; the run goes on without it", code);
}
