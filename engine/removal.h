// The removal of an installation (/UNINSTALL): exactly the files that the
// latest installation record lists as installed by that installation and
// that still hold the bytes it recorded, the removal program kept for it,
// the desktop shortcut the record names, the folders that are left empty
// and the entry in the system's list of installed programs. The clinic's
// data (DTAfb\, Settings\), the fonts, the driver package and whatever the
// record does not list stay. The removal record beside the installation
// records says what became of each.
#pragma once

#include <string>
#include <vector>

// What became of one thing the removal looked at.
struct RemovalItem {
    std::wstring path;     // as the installation record names it, or a full path
    std::wstring outcome;  // in the removal record's words
};

enum class RemovalEnd {
    NoRecord,          // no installation record in the settings folder: nothing removed
    UnreadableRecord,  // the latest record could not be read: nothing removed
    NothingToRemove,   // everything the record lists is gone already
    Removed,
    RemovedWithFailures,  // something the removal should have taken away is still there
};

struct RemovalReport {
    RemovalEnd end = RemovalEnd::NoRecord;
    std::wstring record;  // the installation record read (full path); empty when none
    std::wstring error;   // NoRecord, UnreadableRecord: why
    std::vector<RemovalItem> items;
    int removed = 0;             // files, folders, the shortcut and the entry taken away (or at the next restart)
    int changed = 0;             // files kept because their bytes are no longer those installed
    int failed = 0;              // what could not be removed or checked
    std::wstring removalRecord;  // where the removal record was written; empty when it was not
};

// Removes the installation in installFolder.
// runningProgram is this process's own file: Windows does not let a running
// program be deleted, so when it is the kept removal program it and its
// folder are left to the next restart of Windows. Each item goes into the
// setup log as it is done. Never raises for a file: its failure is its
// item's outcome.
RemovalReport RemoveInstallation(const std::wstring& installFolder, const std::wstring& runningProgram);
