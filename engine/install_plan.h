// The installation as data: the ordered steps of one pass, each with what it
// reads and writes, its progress text, whether it holds the Windows session
// and what its failure does. The executor runs it; the preflight's link and
// space checks and the installation record read the same list, so what an
// installation writes is written down here once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/install_request.h"

enum class StepKind {
    CreateFolder,    // a folder the pass needs; a box and a line when it cannot be made
    SettingsFile,    // the settings file's two options
    SettingsFolder,  // the settings line, and the folder when it is missing
    Database,        // the package's database in place of the clinic's (kept beside it), or the clinic's kept
    FileGroup,       // files copied one by one, a line each
    CounterFile,     // the record counter, when there is none yet
    BrandFile,       // the alternative brand's file
    Fonts,           // the package's fonts into the system
    Driver,          // the driver folder by the shell's copy, then its installer
    CopyTree,        // a folder of the package as a whole (the tree copy)
    ReadBack,        // the copies read back and compared before the update script may change them
    UpdateScript,    // the newest update package's script
    ReleaseLevel,    // the level of the update package whose script ran
    Shortcut,        // the desktop shortcut
    Verification,    // every installed file read back, the installation record filed
    Registration,    // the removal program kept and the entry in the list of installed programs
};

// What a failure of the step does to the pass.
enum class OnFailure {
    Raises,    // its Error ends the run with the error report
    EndsPass,  // the pass ends early on the failure shown on screen
    Counted,   // shown on screen and counted; the pass goes on
    GoesOn,    // only in the setup log; the pass goes on
};

// One file or folder the step copies.
struct PlannedCopy {
    std::wstring source;
    std::wstring destination;

    bool operator==(const PlannedCopy&) const = default;
};

struct PlanStep {
    StepKind kind = StepKind::CreateFolder;
    // What the Windows session is held for while the step runs (the setup
    // log's words should a log-off come anyway); empty: it may end.
    std::wstring_view holds{};
    bool busy = false;  // closing is refused and the hourglass shows
    OnFailure onFailure = OnFailure::GoesOn;
    // The folder of the install tree the step creates or writes into; empty
    // for the steps that write elsewhere (fonts, desktop) or nowhere.
    std::wstring folder{};
    std::vector<PlannedCopy> copies{};   // files, or for tree copies the folders
    std::vector<std::wstring> writes{};  // files the step writes itself
    // The progress line (or for a folder the line once it is made, for a
    // tree copy its folder's name as the count lines say it).
    std::wstring progress{};
    std::wstring failure{};  // a folder's box and line when it cannot be made
    // Folders held open from this step on, so that nobody swaps them for a
    // link while the pass runs.
    std::vector<std::wstring> heldOpen{};
    // Runs only when the step before it was done (the release level of a
    // script that ran).
    bool afterPrevious = false;
    // An existing destination of its copy stays as it is (the clinic's
    // database in an unattended re-run).
    bool keepsExisting = false;
};

using InstallPlan = std::vector<PlanStep>;

// The pass that request describes from installerFolder, in the documented
// order; fontsFolder is the system's fonts folder. Never fails: it only names
// what the pass will touch.
InstallPlan BuildInstallPlan(const InstallRequest& request, std::wstring_view installerFolder,
                             std::wstring_view fontsFolder);

// Whether step leaves its copy's destination as it is because that is there
// already: nothing is copied, checked or counted for it.
bool KeepsItsDestination(const PlanStep& step);

// The folders of the install tree the plan writes through, each once, in the
// plan's order.
std::vector<std::wstring> FoldersWrittenThrough(const InstallPlan& plan);
