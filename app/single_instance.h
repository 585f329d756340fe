// One installation at a time on a machine: a second copy started while one
// runs would install a second time over the same folders. The first copy
// holds a named mutex for its whole run; later copies see it and stop.
#pragma once

#include "base/handles.h"

// The mutex's name; "Global\" makes it one for every session of the
// machine (two administrators signed in at once included).
inline constexpr wchar_t kSingleInstanceMutexName[] = L"Global\\Velmora-Holter setup";

class SingleInstanceGuard {
public:
    // Creates or opens the mutex. A mutex that cannot be made for another
    // reason is noted in the setup log and the run goes on unguarded.
    SingleInstanceGuard();

    // True when another copy held the mutex when this one was made.
    bool AnotherIsRunning() const { return anotherIsRunning_; }

private:
    ScopedHandle mutex_;
    bool anotherIsRunning_ = false;
};
