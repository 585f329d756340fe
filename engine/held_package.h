// The update package the installation is about to run, checked against the
// distribution's package of the same name and held against change until its
// script has run. The install folder's "backup" may be writable by every
// user of the PC while the installation runs with an administrator's
// rights, and the script's console looks for the commands it calls in the
// package folder first: so every file of that folder counts, not the
// script alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/handles.h"

enum class PackageVerdict {
    // Every file of the folder, at every depth, has the bytes of the
    // distribution's package of the same name, and nothing is missing or
    // extra.
    Distribution,
    // Held whole, but not the distribution's: a file differs, is extra or is
    // missing, or the distribution has no package of that name.
    Foreign,
    // It could not be checked: a junction or symbolic link inside it, a
    // folder that could not be read, or a file that could not be held (in
    // use by a writer). Never to be run.
    Unverified,
};

class HeldPackage {
public:
    // Holds every file and folder of installed (a package folder) and
    // compares the files with those of shipped, the distribution's package
    // folder. Files are opened for reading and shared only for reading: while
    // held, nobody can write, replace, rename or delete them, and the script
    // can still run. Folders are held against renaming and deletion. Never
    // fails; see verdict() and reason().
    HeldPackage(std::wstring_view installed, std::wstring_view shipped);

    PackageVerdict verdict() const { return verdict_; }
    // Why the package is not the distribution's, for the setup log (the
    // first difference or failure found); empty for Distribution.
    const std::wstring& reason() const { return reason_; }
    // The number of files held.
    size_t files() const { return files_; }

private:
    void Walk(const std::wstring& installed, const std::wstring& shipped, const std::wstring& relative);
    bool HoldFolder(const std::wstring& path);
    void HoldFile(const std::wstring& installed, const std::wstring& shipped, const std::wstring& relative);
    void Note(PackageVerdict verdict, std::wstring reason);

    std::vector<ScopedHandle> held_;
    PackageVerdict verdict_ = PackageVerdict::Distribution;
    std::wstring reason_;
    size_t files_ = 0;
};
