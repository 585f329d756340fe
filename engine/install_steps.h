// The operations behind the plan's steps, one per kind of step. Each does
// what its step names with the step's sources and destinations, tells the
// pass what to show and record, and returns how it went; the executor
// decides what a failure does to the pass. Errors named below are raised
// and end the run.
#pragma once

#include "engine/install_plan.h"
#include "engine/plan_executor.h"

// Creates step.folder when missing and adds step.progress; a folder that
// cannot be made is shown with step.failure, in a box and as a line: not
// done.
StepResult CreateFolderOrReport(Pass& pass, const PlanStep& step);

// Writes the settings file's two options, keeping everything else in it.
// Raises the settings file's errors.
StepResult WriteSettingsFile(Pass& pass, const PlanStep& step);

// The settings line; the settings folder is made when missing.
StepResult AddSettingsLine(Pass& pass, const PlanStep& step);

// The package's database takes the live name only once it is whole; the
// old database stays beside it under a dated name, reported once it is
// there. A database in use is refused (raised) before anything is copied.
// Not done when the copy fails.
StepResult DeployDatabase(Pass& pass, const PlanStep& step);

// Each file with its progress line. When the step's failure ends the pass,
// the first failed copy ends the group (not done); otherwise each failure
// is counted and the group goes on. Raises the copy's errors.
StepResult CopyGroupFiles(Pass& pass, const PlanStep& step);

// The record counter, when the settings folder has none.
StepResult WriteCounterFileWhenMissing(Pass& pass, const PlanStep& step);

// The alternative brand's file, keeping its other keys. Raises its errors.
StepResult WriteBrandFile(Pass& pass, const PlanStep& step);

// Fonts already in the system are left alone; a font that cannot be
// installed ends the fonts (in the setup log) but not the installation.
StepResult InstallPackageFonts(Pass& pass, const PlanStep& step);

// When the driver is chosen and the user confirms the interface block is
// plugged in: the driver folder by the shell's copy, then its installer.
// Not done, and counted, when the installer does not start.
StepResult InstallDriver(Pass& pass, const PlanStep& step);

// The package's folder as a tree; a line and a count for each kind of thing
// not done. Raises the tree copy's errors.
StepResult CopyPackageTree(Pass& pass, const PlanStep& step);

// Reads every copied file back and compares it with the distribution before
// the update script may change any: that proves the copy. Each difference
// is named in the setup log; the install folder's files are noted, to tell
// later what the script added.
StepResult VerifyCopies(Pass& pass, const PlanStep& step);

// After the update script of update ran: what it changed, removed and added
// is its own doing, recorded as such and named in the setup log.
void NoteUpdateChanges(Pass& pass, const std::wstring& update);

// The newest update package's script, from its own folder, once every file
// of the package is checked against the distribution's and held (a foreign
// package runs only on the user's Yes, one that cannot be checked never).
// What the script changed is noted in the record. Not done (and counted)
// when it is not run; a non-zero exit code is counted. Raises when there is
// no package or the script cannot be run.
StepResult RunUpdateScript(Pass& pass, const PlanStep& step);

// The level of the update package whose script ran. Raises its errors.
StepResult RecordReleaseLevel(Pass& pass, const PlanStep& step);

// The shortcut on the desktop. Raises its errors.
StepResult CreateDesktopShortcut(Pass& pass, const PlanStep& step);

// Files the record in the settings folder and says on one line how the
// read-back went (counted when not clean).
StepResult FileRecord(Pass& pass, const PlanStep& step);

// Keeps the installer in the install folder as its removal program and
// writes the installation's entry in the system's list of installed
// programs (a re-run rewrites it). A failure is a line with step.progress
// and kFailed, counted, with the failing call in the setup log.
StepResult RegisterForRemoval(Pass& pass, const PlanStep& step);
