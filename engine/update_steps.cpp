// The steps that start the package's programs and finish the installation:
// the driver, the update script, the release level and the shortcut.
#include <windows.h>

#include "base/error.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "engine/console_capture.h"
#include "engine/held_package.h"
#include "engine/install_steps.h"
#include "engine/package_choice.h"
#include "engine/process_runner.h"
#include "engine/release_info.h"
#include "engine/shortcut.h"
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
        pass.Record(
            [&](InstallationRecord& r) { r.AddCopy(JoinPath(source, relative), JoinPath(installed, relative)); });
    });
}

bool RunForeignScript(Pass& pass, const std::wstring& package) {
    const bool run = pass.view().AskYesNo(RunForeignScriptQuestion(package));
    setup_log::Write(run ? L"Install.cmd of " + package + L" run on the user's Yes"
                         : L"Install.cmd of " + package + L" not run on the user's No");
    return run;
}

// The script's console output, a log event a line, in the console's code
// page; the cap and a pipe still held open are said.
void LogScriptOutput(ConsoleCapture& console) {
    if (!console.error().ok()) {
        setup_log::WriteFailure(console.error());
        return;
    }
    const CappedOutput output = console.Finish();
    const std::wstring script(kUpdateScript);
    for (const std::string& line : output.Lines()) setup_log::Write(script + L" output: " + FromOem(line));
    if (output.cut() > 0)
        setup_log::Write(script + L" output cut at " + std::to_wstring(kScriptOutputCap) + L" bytes: " +
                         std::to_wstring(output.cut()) + L" bytes more not logged");
    if (console.stillOpen())
        setup_log::Write(script + L" output: a program it started still holds it open; not read further");
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
    else if (const Result<> copied = ShellCopyFolder(folder.source, folder.destination, pass.view().ShellUi());
             !copied)
        setup_log::WriteFailure(copied);
    else
        RecordDriverFolder(pass, folder.source, folder.destination);
    const int line = pass.AddLine(step.progress);
    pass.view().RepaintLog();
    // Always the distribution's own program, as trusted as the installer
    // the technician started: any user of the PC may write into the install
    // folder's copy and put DLLs beside it, which the program would load
    // first. The copy stays there for the package's programs.
    const std::wstring program = JoinPath(pass.installerFolder, kDriverProgram);
    setup_log::Write(L"Driver installer started from the distribution: " + program);
    // Quoted: a folder with blanks must not start another program. Started
    // in its own folder, so it finds its files there.
    const ProgramResult run =
        StartProgram(L"\"" + program + L"\"", SW_HIDE, true, JoinPath(pass.installerFolder, kDriverFolder));
    if (!run.started) {
        setup_log::WriteError(L"Driver installer not started: " + program, run.error.code());
        pass.AppendToLine(line, kFailed);
        return {.done = false, .failures = 1};
    }
    // Driver installers return flag values, not a verdict: recorded as the
    // signed number they mean; only a restart request is acted on.
    if (run.ended())
        setup_log::Write(L"Driver installer ended with exit code " +
                         std::to_wstring(static_cast<int32_t>(run.exitCode)));
    else
        setup_log::WriteFailure(run.error);
    pass.AddLine(L"Установка драйверов устройства завершена");
    if (!run.ended() ||
        (run.exitCode != ERROR_SUCCESS_REBOOT_REQUIRED && run.exitCode != ERROR_SUCCESS_REBOOT_INITIATED))
        return {};
    // Restarting is the person's or the deployment tool's decision, never
    // the installer's.
    pass.AddLine(L"Для завершения установки драйвера требуется перезагрузка компьютера");
    setup_log::Write(L"Restart needed: the driver installer asks for it (exit code " +
                     std::to_wstring(run.exitCode) + L"); Windows is not restarted by the installer");
    return {.restartNeeded = true};
}

// The install folder's "backup" may hold packages the distribution did not
// bring (a later update, or files any user of the PC put there), and the
// script calls what its folder holds: a package folder that is not byte for
// byte the distribution's package of the same name runs only on the user's
// Yes, and one that cannot be checked and held never. Every file of it is
// held against change from the check to the script's end.
StepResult RunUpdateScript(Pass& pass, const PlanStep&) {
    const std::wstring package = FindNewestPackage(pass.installFolder);
    setup_log::Write(L"Newest update package: " + package);
    pass.updatePackage = package;
    const std::wstring script = JoinPath(package, kUpdateScript);
    // A package without its script cannot start it: the same error as a
    // start that failed, and nothing is started that may appear there after
    // this look.
    if (!FileExists(script)) {
        setup_log::Write(L"Install.cmd of " + package + L" not run: it does not exist");
        throw RunAndWaitError(script, ProgramResult{});
    }
    const HeldPackage held(package, JoinPath(pass.installerFolder, kBackupFolder, NameOf(package)));
    switch (held.verdict()) {
        case PackageVerdict::Unverified:
            setup_log::Write(L"Install.cmd of " + package + L" not run: the package cannot be checked: " +
                             held.reason());
            return SkipUpdateScript(pass, package, L"пакет не удалось проверить, Install.cmd не запущен");
        case PackageVerdict::Foreign:
            setup_log::Write(L"Update package " + package + L" is not the distribution's own: " + held.reason());
            if (!RunForeignScript(pass, package))
                return SkipUpdateScript(pass, package, L"пакет не из этого дистрибутива, Install.cmd не запущен");
            break;
        case PackageVerdict::Distribution:
            setup_log::Write(L"Update package " + package + L" is the distribution's own: " +
                             std::to_wstring(held.files()) + L" files checked and held until its script ends");
            break;
    }
    ChangeCurrentFolder(package);
    ConsoleCapture console(kScriptOutputCap);
    const ProgramResult run = RunAndWait(script, L"", SW_HIDE, &console);
    LogScriptOutput(console);
    if (!run.ended()) {
        setup_log::WriteFailure(run.error);
        throw RunAndWaitError(script, run);
    }
    const uint32_t code = run.exitCode;
    setup_log::Write(std::wstring(kUpdateScript) + L" of " + package + L" ended with exit code " +
                     std::to_wstring(code));
    ChangeCurrentFolder(pass.installFolder);
    NoteUpdateChanges(pass, NameOf(package));
    // The package decides what its script's codes mean; the level is still
    // recorded, but a non-zero code is not passed over in silence.
    if (code == 0) return {};
    pass.AddLine(L"Пакет обновления <" + NameOf(package) + L">: " + std::wstring(kUpdateScript) +
                 L" завершился с кодом " + std::to_wstring(code));
    return {.failures = 1};
}

StepResult RecordReleaseLevel(Pass& pass, const PlanStep& step) {
    const std::wstring level = NameOf(pass.updatePackage).substr(1);
    pass.Guarded(step.writes.front());
    SetReleaseLevel(step.folder, level);
    setup_log::Write(L"Release level recorded: " + level);
    pass.level = level;
    pass.Record([&](InstallationRecord& r) { r.AddWritten(step.writes.front()); });
    return {};
}

StepResult CreateDesktopShortcut(Pass& pass, const PlanStep&) {
    const ShortcutNames& names = pass.request.shortcut;
    const bool allUsers = pass.request.allUsersDesktop;
    std::wstring link;
    const Result<> saved = CreateShortcut(
        JoinPath(pass.installFolder, names.target), allUsers ? ShortcutPlace::GivenFolder : ShortcutPlace::Desktop,
        allUsers ? AllUsersDesktopFolder() : std::wstring(), L"", L"", names.description, names.name, link);
    setup_log::Write(allUsers ? L"Shortcut desktop: all users' (public) desktop"
                              : L"Shortcut desktop: the desktop of the account running the installer");
    if (saved) {
        setup_log::Write(L"Shortcut: " + link);
        // The record names it, for the removal to take away.
        pass.shortcut = link;
        return {};
    }
    setup_log::WriteFailure(saved);
    pass.Finish(pass.AddLine(L"Создание ярлыка на рабочем столе..."), false);
    return {.done = false, .failures = 1};
}
