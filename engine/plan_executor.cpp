#include "engine/plan_executor.h"

#include <windows.h>

#include "base/error.h"
#include "base/setup_log.h"
#include "engine/install_steps.h"

namespace {

// Closing is refused and the hourglass shows while the package's files are
// written; every way out of that block undoes it.
class BusyState {
public:
    explicit BusyState(InstallView& view) : view_(view) {}
    ~BusyState() { Set(false); }
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

    // The view hears only of changes.
    void Set(bool busy) {
        if (busy == busy_) return;
        busy_ = busy;
        view_.SetBusy(busy);
    }

private:
    InstallView& view_;
    bool busy_ = false;
};

// From the first file written until the release level is recorded the
// Windows session may not end; the view is told each step, and that the
// session may end again on every way out.
class SessionHold {
public:
    explicit SessionHold(InstallView& view) : view_(view) {}
    ~SessionHold() { At({}); }
    SessionHold(const SessionHold&) = delete;
    SessionHold& operator=(const SessionHold&) = delete;

    // Holds it for step, or lets it end for an empty step; the view hears
    // only of changes.
    void At(std::wstring_view step) {
        if (step == step_) return;
        step_ = step;
        view_.HoldSession(step);
    }

private:
    InstallView& view_;
    std::wstring_view step_;
};

using StepOperation = StepResult (*)(Pass&, const PlanStep&);

StepOperation OperationOf(StepKind kind) {
    switch (kind) {
        case StepKind::CreateFolder:
            return CreateFolderOrReport;
        case StepKind::SettingsFile:
            return WriteSettingsFile;
        case StepKind::SettingsFolder:
            return AddSettingsLine;
        case StepKind::Database:
            return DeployDatabase;
        case StepKind::FileGroup:
            return CopyGroupFiles;
        case StepKind::CounterFile:
            return WriteCounterFileWhenMissing;
        case StepKind::BrandFile:
            return WriteBrandFile;
        case StepKind::Fonts:
            return InstallPackageFonts;
        case StepKind::Driver:
            return InstallDriver;
        case StepKind::CopyTree:
            return CopyPackageTree;
        case StepKind::ReadBack:
            return VerifyCopies;
        case StepKind::UpdateScript:
            return RunUpdateScript;
        case StepKind::ReleaseLevel:
            return RecordReleaseLevel;
        case StepKind::Shortcut:
            return CreateDesktopShortcut;
        case StepKind::Verification:
            return FileRecord;
        case StepKind::Registration:
            return RegisterForRemoval;
    }
    return nullptr;
}

}  // namespace

LocalDateTime LocalNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

Pass::Pass(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder,
           const PassOptions& options)
    : request(request),
      installerFolder(installerFolder),
      installFolder(request.installFolder),
      copy(options.copy),
      started(LocalNow()),
      view_(view) {
    // The record is an addition to the installation: when it cannot be
    // kept, the installation goes on without it and the setup log says why.
    if (!options.keepRecord) return;
    try {
        record_.emplace(request.installFolder);
    } catch (const Error& e) {
        setup_log::Write(L"Installation record not kept: " + e.text());
    }
}

const std::wstring& Pass::Guarded(const std::wstring& target) const {
    RefuseLinkOnTheWay(installFolder, target);
    return target;
}

int Pass::AddLine(std::wstring_view text) {
    const int line = view_.AddLine(text);
    lines_[line] = text;
    setup_log::Write(L"Progress: " + lines_[line]);
    return line;
}

void Pass::AppendToLine(int line, std::wstring_view text) {
    view_.AppendToLine(line, text);
    setup_log::Write(L"Progress: " + (lines_[line] += text));
}

InstallOutcome ExecutePlan(Pass& pass, const InstallPlan& plan) {
    SessionHold session(pass.view());
    BusyState busy(pass.view());
    int problems = 0;  // failures shown on screen that did not end the installation
    bool restartNeeded = false;
    bool previousDone = true;
    for (const PlanStep& step : plan) {
        if (step.afterPrevious && !previousDone) continue;
        busy.Set(step.busy);
        session.At(step.holds);
        const StepResult result = OperationOf(step.kind)(pass, step);
        problems += result.failures;
        restartNeeded = restartNeeded || result.restartNeeded;
        previousDone = result.done;
        if (!result.done && step.onFailure == OnFailure::EndsPass) {
            busy.Set(false);
            setup_log::Write(L"Installation ended early on the failure shown on screen");
            return InstallOutcome::EndedEarly;
        }
    }
    if (problems == 0 && restartNeeded) {
        setup_log::Write(L"Installation completed; Windows must be restarted to finish it");
        return InstallOutcome::CompletedRestartNeeded;
    }
    if (problems == 0) {
        setup_log::Write(L"Installation completed");
        return InstallOutcome::Completed;
    }
    setup_log::Write(L"Installation completed; problems shown on screen: " + std::to_wstring(problems));
    return InstallOutcome::CompletedWithFailures;
}
