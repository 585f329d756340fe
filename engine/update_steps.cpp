// The steps that start the package's programs and finish the installation:
// the driver, the update script, the release level and the shortcut.
#include <windows.h>

#include "base/error.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/Shortcut.h"
#include "engine/held_file.h"
#include "engine/install_steps.h"
#include "engine/package_choice.h"
#include "engine/process_runner.h"
#include "engine/release_info.h"
#include "engine/tree_walk.h"

namespace {

// The current folder of the update script; a refusal is not fatal.
void ChangeCurrentFolder(const std::wstring& folder) {
    if (!SetCurrentDirectoryW(folder.c_str())) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Current folder not changed to " + folder, code);
    }
}

// The shell copied the whole folder; its files are what the tree walk of
// the source finds.
void RecordDriverFolder(Pass& pass, const std::wstring& source, const std::wstring& installed) {
    ForEachTreeFile(source, [&](const std::wstring& relative) {
        pass.Record([&](InstallationRecord& r) { r.AddCopy(source + L"\\" + relative, installed + relative); });
    });
}

bool RunForeignScript(Pass& pass, const std::wstring& package, const std::wstring& script) {
    setup_log::Write(L"Install.cmd of " + package + L" is not the distribution's own");
    const bool run = pass.view().AskYesNo(RunForeignScriptQuestion(package, script));
    setup_log::Write(run ? L"Install.cmd of " + package + L" run on the user's Yes"
                         : L"Install.cmd of " + package + L" not run on the user's No");
    return run;
}

StepResult SkipUpdateScript(Pass& pass, const std::wstring& package, std::wstring_view why) {
    pass.AddLine(L"Пакет обновления <" + NameOf(package) + L">: " + std::wstring(why) +
                 L"; уровень обновления не записан");
    setup_log::Write(L"Release level not recorded");
    return {.done = false, .failures = 1};
}

}  // namespace

StepResult InstallDriver(Pass& pass, const PlanStep& step) {
    if (step.copies.empty() || !pass.view().AskYesNo(ConnectDriverQuestion())) return {};
    const PlannedCopy& folder = step.copies.front();
    if (!DirectoryExists(folder.source))
        setup_log::Write(L"Driver folder not in the package: " + folder.source);
    else if (const Result copied = ShellCopyFolder(folder.source, folder.destination); !copied)
        setup_log::WriteFailure(copied);
    else
        RecordDriverFolder(pass, folder.source, folder.destination + L"\\");
    const int line = pass.AddLine(step.progress);
    pass.view().RepaintLog();
    // The install folder's copy runs only when it is the distribution's
    // own, held so until it has run; anyone may have written there.
    const std::wstring installed = pass.installFolder + std::wstring(kDriverProgram);
    const HeldFile held(installed);
    const bool fromInstallFolder = held.SameBytesAs(pass.installerFolder + std::wstring(kDriverProgram));
    if (!fromInstallFolder)
        setup_log::Write(
            L"Driver installer started from the distribution: the install folder's copy is "
            L"missing or not the distribution's: " +
            installed);
    const std::wstring from = fromInstallFolder ? pass.installFolder : pass.installerFolder;
    const std::wstring program = from + std::wstring(kDriverProgram);
    // Quoted: an install folder with blanks must not start another program.
    // Started in its own folder, so it finds its files there and never DLLs
    // lying in the folder the installer was started from.
    const ProgramResult run =
        StartProgram(L"\"" + program + L"\"", SW_HIDE, true, from + std::wstring(kDriverFolder));
    if (!run.started) {
        setup_log::WriteError(L"Driver installer not started: " + program, run.error.code());
        pass.AppendToLine(line, L" " + std::wstring(kFailed));
        return {.done = false, .failures = 1};
    }
    // Driver installers return flag values, not a verdict: only recorded,
    // as the signed number they mean.
    if (run.ended())
        setup_log::Write(L"Driver installer ended with exit code " +
                         std::to_wstring(static_cast<int32_t>(run.exitCode)));
    else
        setup_log::WriteFailure(run.error);
    pass.AddLine(L"Установка драйверов устройства завершена");
    return {};
}

// The install folder's "backup" may hold packages the distribution did not
// bring (a later update, or a script any user of the PC put there): a
// script that is not byte for byte the distribution's package of the same
// name runs only on the user's Yes, a linked one never. The script is held
// against change from the comparison to its end.
StepResult RunUpdateScript(Pass& pass, const PlanStep&) {
    const std::wstring package = FindNewestPackage(pass.installFolder);
    setup_log::Write(L"Newest update package: " + package);
    pass.updatePackage = package;
    const std::wstring script = package + L"\\" + std::wstring(kUpdateScript);
    if (IsLinkAt(package) || IsLinkAt(script)) {
        setup_log::Write(L"Install.cmd of " + package + L" not run: a junction or symbolic link");
        return SkipUpdateScript(pass, package, L"Install.cmd является ссылкой и не запущен");
    }
    const HeldFile held(script);
    const std::wstring shipped = pass.installerFolder + std::wstring(kBackupFolder) + L"\\" + NameOf(package) +
                                 L"\\" + std::wstring(kUpdateScript);
    if (held.held() && !held.SameBytesAs(shipped) && !RunForeignScript(pass, package, script))
        return SkipUpdateScript(pass, package, L"Install.cmd не из этого дистрибутива и не запущен");
    ChangeCurrentFolder(package + L"\\");
    const ProgramResult run = RunAndWait(script, L"", SW_HIDE);
    if (!run.ended()) {
        setup_log::WriteFailure(run.error);
        throw RunAndWaitError(script, run);
    }
    const uint32_t code = run.exitCode;
    setup_log::Write(std::wstring(kUpdateScript) + L" of " + package + L" ended with exit code " +
                     std::to_wstring(code));
    ChangeCurrentFolder(pass.installFolder);
    // The package decides what its script's codes mean; the level is still
    // recorded, but a non-zero code is not passed over in silence.
    if (code == 0) return {};
    pass.AddLine(L"Пакет обновления <" + NameOf(package) + L">: " + std::wstring(kUpdateScript) +
                 L" завершился с кодом " + std::to_wstring(code));
    return {.failures = 1};
}

StepResult RecordReleaseLevel(Pass& pass, const PlanStep& step) {
    const std::wstring level = NameOf(pass.updatePackage).substr(1);
    SetReleaseLevel(step.folder, level);
    setup_log::Write(L"Release level recorded: " + level);
    pass.level = level;
    pass.Record([&](InstallationRecord& r) { r.AddWritten(step.writes.front()); });
    return {};
}

StepResult CreateDesktopShortcut(Pass& pass, const PlanStep&) {
    const ShortcutNames& names = pass.request.shortcut;
    std::wstring link;
    CreateShortcut(pass.installFolder + names.target, ShortcutPlace::Desktop, L"", L"", L"", names.description,
                   names.name, link);
    setup_log::Write(link.empty() ? std::wstring(L"Shortcut not made: no desktop folder") : L"Shortcut: " + link);
    return {};
}
