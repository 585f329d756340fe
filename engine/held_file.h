// A program of the install folder, held open against change while the
// installation decides whether to start it and while it runs. The install
// folder may be writable by every user of the PC, while the installation
// may run with an administrator's rights: what it starts from there must be
// what the distribution brought, and stay so until it has run.
#pragma once

#include <string>
#include <string_view>

#include "base/handles.h"

class HeldFile {
public:
    // Opens path for reading and shares it only for reading: while held,
    // nobody can write, replace, rename or delete it, and a program can
    // still be started from it. Not held when path is a junction or link
    // or cannot be opened (missing, in use by a writer).
    explicit HeldFile(std::wstring_view path);

    bool held() const { return static_cast<bool>(file_); }

    // True when the held file has exactly the bytes of the file at other;
    // false when it differs, is not held or other cannot be read.
    bool SameBytesAs(std::wstring_view other) const;

private:
    ScopedHandle file_;
};
