// What the installation takes from the package and where it puts it: the
// folders, the file lists of each copy group, and the names of the files the
// installer writes itself. Relative names: sources are joined to the
// installer folder, destinations to the install folder, by plain
// concatenation. Windows-free.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/package_names.h"
#include "engine/local_date_time.h"

// Files copied one by one after the database, group after group.
struct CopyGroup {
    std::wstring_view sourceFolder;       // below the installer folder
    std::wstring_view destinationFolder;  // below the install folder; "" is the folder itself
    std::span<const std::wstring_view> files;
    bool stopsOnFailure;  // whether a failed copy ends the installation
};

// The database runtime the wizard's Windows choice takes.
enum class RuntimeChoice {
    Modern,     // "Windows 7, Windows 8": 12 files
    WindowsXp,  // 10 files
};

// The runtime, its "intl" and "udf" files, then the package's own function
// libraries (the only group whose failures do not stop the installation).
std::span<const CopyGroup> CopyGroups(RuntimeChoice runtime);

// The name under which an existing database is kept when the package's copy
// replaces it: "V12.FDB." + YYYYMMDD-HHMMSS + ".bak"; a further backup of
// the same second (copy 2, 3, ...) gets "-<copy>" before ".bak".
std::wstring DatabaseBackupName(const LocalDateTime& moment, int copy = 1);
