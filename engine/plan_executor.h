// Runs an installation plan step by step: the one place that holds the
// Windows session, refuses closing, writes the progress list, feeds the
// installation record and counts the problems shown on screen. The steps'
// own operations (install_steps.h) report through the pass it hands them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/destination_guard.h"
#include "engine/file_ops.h"
#include "engine/install_plan.h"
#include "engine/install_request.h"
#include "engine/install_view.h"
#include "engine/installation_record.h"
#include "engine/local_date_time.h"

inline constexpr std::wstring_view kDone = L"Завершено";
inline constexpr std::wstring_view kFailed = L"ОШИБКА!!!";

// The local time now, from the system clock.
LocalDateTime LocalNow();

// How one step went.
struct StepResult {
    // The step did what it is for. When not, a step whose failure ends the
    // pass ends it, and a step that runs only after it is left out.
    bool done = true;
    int failures = 0;            // failures shown on screen that did not end the pass
    bool restartNeeded = false;  // what the step installed works only after Windows restarts
};

// How a pass runs besides what the request asks.
struct PassOptions {
    FileCopy copy = CopyFileWithDate;  // a test puts in a copy that fails
    // Whether the installed files are read back and the installation record
    // filed; the benchmark and the tests of other steps measure without it.
    bool keepRecord = true;
};

// What the steps of one pass share: the request, the folders, what earlier
// steps found, and the executor's view and record.
class Pass {
public:
    Pass(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder,
         const PassOptions& options);

    const InstallRequest& request;
    const std::wstring installerFolder;
    const std::wstring& installFolder;
    const FileCopy copy;
    const LocalDateTime started;
    std::wstring updatePackage;  // the newest update package, once its script's step found it
    std::wstring level;          // the release level, once recorded
    std::wstring shortcut;       // the desktop shortcut's full path, once made
    // The copies' read-back, before the update script; the install folder's
    // files then (sorted), and how many of them the script changed.
    RecordVerification verification;
    std::vector<std::wstring> filesBeforeUpdate;
    int changedByUpdate = 0;
    HeldFolders heldFolders;

    // target, after checking that no folder on the way to it, nor target
    // itself, has become a link since the preflight.
    const std::wstring& Guarded(const std::wstring& target) const;

    InstallView& view() { return view_; }
    // Adds a progress line and logs it; returns its index.
    int AddLine(std::wstring_view text);
    // Appends text to the line and logs the line as it now reads.
    void AppendToLine(int line, std::wstring_view text);
    // Appends kDone or kFailed to the line.
    void Finish(int line, bool done) { AppendToLine(line, done ? kDone : kFailed); }
    // One file copied with its progress line ("Копирование файла <name>....",
    // then the outcome); copy says whether it was done.
    template <typename Copy>
    bool WithCopyLine(std::wstring_view name, Copy copy) {
        const int line = AddLine(L"Копирование файла " + std::wstring(name) + L"....");
        view_.Refresh();
        const bool copied = copy();
        Finish(line, copied);
        return copied;
    }

    // The record when it is kept, else null.
    InstallationRecord* record() { return record_ ? &*record_ : nullptr; }
    template <typename Change>
    void Record(Change change) {
        if (record_) change(*record_);
    }

private:
    InstallView& view_;
    std::map<int, std::wstring> lines_;  // as shown, by index
    std::optional<InstallationRecord> record_;
};

// Runs plan for pass. Errors raised by a step end it and pass to the
// caller; the session hold and the busy state are undone before they leave.
InstallOutcome ExecutePlan(Pass& pass, const InstallPlan& plan);
