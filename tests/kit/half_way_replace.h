// ReplaceFileW's documented partial outcomes, which no test machine produces
// on demand, played by a stand-in for the swap while the object lives: the
// files are left as the documentation says for that code, then the call
// fails with it.
#pragma once

#include <windows.h>

#include <string>

#include "base/file_system.h"
#include "base/handles.h"

class HalfWayReplace {
public:
    // outcome: ERROR_UNABLE_TO_MOVE_REPLACEMENT, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
    // or ERROR_UNABLE_TO_REMOVE_REPLACED. With stuck, the replacement and the
    // moved-aside file are then held open against moving.
    explicit HalfWayReplace(DWORD outcome, bool stuck = false) {
        outcome_ = outcome;
        stuck_ = stuck;
        ReplaceFileHook = Replace;
    }
    ~HalfWayReplace() {
        ReplaceFileHook = ReplaceFileW;
        held_[0].reset();
        held_[1].reset();
    }
    HalfWayReplace(const HalfWayReplace&) = delete;
    HalfWayReplace& operator=(const HalfWayReplace&) = delete;

    // Where the replaced file went when no backup name was given (..._2).
    static std::wstring AsideName(const std::wstring& replaced) { return replaced + L".aside"; }

private:
    static inline DWORD outcome_ = 0;
    static inline bool stuck_ = false;
    static inline ScopedHandle held_[2];

    static HANDLE Hold(const std::wstring& path) {
        return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    }

    static BOOL WINAPI Replace(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD, LPVOID, LPVOID) {
        const std::wstring aside = backup ? std::wstring(backup) : AsideName(replaced);
        // Without a backup name ..._REPLACEMENT has deleted the replaced file;
        // with one, both files keep their names. ..._2 has moved the replaced
        // file aside. ..._REMOVE_REPLACED changes nothing.
        if (outcome_ == ERROR_UNABLE_TO_MOVE_REPLACEMENT && !backup) DeleteFileW(replaced);
        if (outcome_ == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileW(replaced, aside.c_str());
        if (stuck_) {
            held_[0].reset(Hold(replacement));
            held_[1].reset(Hold(aside));
        }
        SetLastError(outcome_);
        return FALSE;
    }
};
