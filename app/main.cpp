// Program entry of the setup wizard.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/application.h"
#include "app/command_line.h"
#include "app/elevated_restart.h"
#include "app/exit_codes.h"
#include "app/main_window.h"
#include "app/removal_run.h"
#include "app/run_log.h"
#include "app/single_instance.h"
#include "app/unattended_run.h"
#include "app/wizard_presets.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "base/system_library.h"
#include "shared/ScreenMonitorManager.h"
#include "shared/WaitRun.h"
#include "shared/screen_snapshot.h"
#include "shared/shared_units.h"

namespace {

// Ends the setup log on every way out of the entry, with how the run ended.
class SetupLogSession {
public:
    SetupLogSession(HINSTANCE instance, const CommandLine& commandLine) {
        // A sound /LOG= is honoured even when another switch refuses the
        // line: the deployment tool looks for the refusal there. When that
        // file cannot be opened, the usual log in the temporary folder says
        // why.
        // Success also when no file is named.
        const Result<> named = commandLine.logFile ? setup_log::OpenFile(*commandLine.logFile) : Result<>();
        if (!commandLine.logFile || !named) setup_log::Open();
        run_log::WriteHeader(instance, ModuleFolder());
        setup_log::Write(L"Command line: " + std::wstring(GetCommandLineW()));
        if (!named) setup_log::WriteFailure(named);
    }
    ~SetupLogSession() {
        run_log::WriteEnd(exitCode);
        setup_log::Close();
    }
    SetupLogSession(const SetupLogSession&) = delete;
    SetupLogSession& operator=(const SetupLogSession&) = delete;

    // Notes a run refused before anything was written and returns code.
    int Refuse(int code) {
        run_log::Note(run_log::Outcome::NotStarted);
        return exitCode = code;
    }

    int exitCode = 1;
};

// The refusals before anything starts; the box only when a person is there.
void Tell(const CommandLine& commandLine, const std::wstring& text) {
    setup_log::Write(L"Refused: " + text);
    if (!commandLine.unattended) Application.ShowMessageBox(text, MB_OK | MB_ICONERROR);
}

int RunWizard(HINSTANCE instance, const CommandLine& commandLine) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    Application.Initialize(instance);

    TFMain main;
    main.Create(instance);
    PresetWizard(main, commandLine);
    Application.SetMainWindow(main.Handle());
    // Hidden: the package's programs share it for their long steps.
    TFWaitRun waitRun;
    FWaitRun = &waitRun;
    ShowWindow(Application.Handle(), SW_SHOWNORMAL);

    const int exitCode = Application.Run();
    FWaitRun = nullptr;
    return exitCode;
}

// The switches and exit codes: nobody reads a box in an unattended run, so
// there the help goes to the log.
void ShowHelp(HINSTANCE instance, const CommandLine& commandLine) {
    const std::wstring help = CommandLineHelp(DefaultInstallFolder(instance));
    if (commandLine.unattended)
        setup_log::Write(L"Help (unattended, not shown): " + help);
    else
        Application.ShowMessageBox(help, MB_OK | MB_ICONINFORMATION);
}

// The removal, the unattended installation or the wizard, once nothing
// refused the run.
int RunChosen(HINSTANCE instance, const CommandLine& commandLine) {
    // The units shared with the package's programs start before the entry
    // steps and are finalised in reverse order once the run ends.
    const SharedUnits shared_units;
    // Relative package paths resolve against the installer's own folder,
    // wherever the installer was started from.
    const std::wstring installerFolder = ModuleFolder();
    if (!SetCurrentDirectoryW(installerFolder.c_str())) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Current folder not changed to " + installerFolder, code);
    }

    myScreen = std::make_unique<TmyScreen>(ReadScreenSnapshot(), ApplyScreenCursor);
    SelectMonitor(0);

    // The shell-link object and the folder dialog need a single-threaded
    // apartment on this thread for the whole run.
    const ScopedOleInitialize ole;
    return commandLine.uninstall    ? RunRemoval(instance, commandLine)
           : commandLine.unattended ? RunUnattended(instance, commandLine)
                                    : RunWizard(instance, commandLine);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The installer runs from a download folder full of other DLLs: load
    // system DLLs from the system folder only.
    RestrictDllSearchToSystem();
    const CommandLine commandLine = ParseProcessCommandLine(GetCommandLineW());
    // Nobody answers the system's own boxes either: a drive without its
    // disk fails the call, and a crash ends the process (and its child
    // programs, which inherit this) without the error-reporting dialog.
    if (commandLine.unattended)
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Written as the run goes, so support can read what happened even after
    // a crash.
    SetupLogSession log(instance, commandLine);
    // Also the title of the boxes shown before the main window exists.
    Application.SetTitle(kApplicationTitle);

    if (commandLine.help) {
        ShowHelp(instance, commandLine);
        run_log::Note(run_log::Outcome::NotStarted);
        return log.exitCode = exit_code::kDone;
    }
    if (!commandLine.error) {
        Tell(commandLine, commandLine.error.action() + L"\r\n\r\nСписок ключей: VelmoraSetup.exe /?");
        return log.Refuse(exit_code::kBadSwitch);
    }
    // Before the guard, which the elevated run takes: the removal asks for
    // the rights once, where a person can answer.
    if (commandLine.uninstall && !commandLine.unattended && Elevation() == L"no") {
        setup_log::Write(L"Removal needs the administrator's rights: started again with them");
        run_log::Note(run_log::Outcome::Completed);
        return log.exitCode = RunAgainElevated();
    }
    // Held until the process ends.
    const SingleInstanceGuard oneInstallation;
    if (oneInstallation.AnotherIsRunning()) {
        Tell(commandLine,
             L"Программа установки комплекса \"Velmora-Холтер\" уже запущена.\r\nДождитесь окончания той "
             L"установки.");
        return log.Refuse(exit_code::kAlreadyRunning);
    }

    try {
        return log.exitCode = RunChosen(instance, commandLine);
    } catch (...) {
        // Whatever its type (running out of memory included), an error that
        // reaches the entry is reported, never a silent end; unattended, in
        // the log alone.
        if (commandLine.unattended) return log.exitCode = EndUnattendedByError();
        Application.ReportCurrentException();
        return log.exitCode;
    }
}
