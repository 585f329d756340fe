// One installation at a time on a machine: a second copy started while one
// runs would install a second time over the same folders. The first copy
// holds a named mutex for its whole run; later copies see it and stop.
// Any signed-in user can make a mutex of that name first; one that no
// installation of this user or of the administrators made stops nothing,
// or any user could stop every installation of the PC.
#pragma once

#include "base/handles.h"

// The mutex's name; "Global\" makes it one for every session of the
// machine (two administrators signed in at once included).
inline constexpr wchar_t kSingleInstanceMutexName[] = L"Global\\Velmora-Holter setup";

// True when mutex's owner is the Administrators group or the system (an
// elevated installation) or the user this process runs as (an installation
// of the same user, elevated or not), or when it has none that can be read;
// false when the owner is someone else.
bool IsOwnedByAnInstallation(HANDLE mutex);

class SingleInstanceGuard {
public:
    // Creates or opens the mutex. Another copy runs when the mutex existed
    // and IsOwnedByAnInstallation says so, or when this process, not
    // elevated, may not open it (an elevated installation made it). A
    // mutex of another user, or one that an elevated process may not open,
    // is noted in the setup log and the run goes on without the guard.
    SingleInstanceGuard();

    // True when another copy held the mutex when this one was made.
    bool AnotherIsRunning() const { return anotherIsRunning_; }

private:
    ScopedHandle mutex_;
    bool anotherIsRunning_ = false;
};
