// Program entry of the setup wizard.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/application.h"
#include "app/main_window.h"
#include "app/run_log.h"
#include "base/file_system.h"
#include "base/handles.h"
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
    explicit SetupLogSession(HINSTANCE instance) {
        setup_log::Open();
        run_log::WriteHeader(instance, ModuleFolder());
    }
    ~SetupLogSession() {
        run_log::WriteEnd(exitCode);
        setup_log::Close();
    }
    SetupLogSession(const SetupLogSession&) = delete;
    SetupLogSession& operator=(const SetupLogSession&) = delete;

    int exitCode = 1;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The installer runs from a download folder full of other DLLs: load
    // system DLLs from the system folder only.
    RestrictDllSearchToSystem();
    // Written as the run goes, so support can read what happened even after
    // a crash.
    SetupLogSession log(instance);

    try {
        // The units shared with the package's programs start before the entry
        // steps and are finalised in reverse order once the message loop ends.
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

        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        // The shell-link object and the folder dialog need a single-threaded
        // apartment on this thread for the whole run.
        const ScopedOleInitialize ole;
        Application.Initialize(instance);
        Application.SetTitle(L"Установка комплекса \"Velmora-Холтер\"");

        TFMain main;
        main.Create(instance);
        Application.SetMainWindow(main.Handle());
        // Hidden: the package's programs share it for their long steps.
        TFWaitRun waitRun;
        FWaitRun = &waitRun;
        ShowWindow(Application.Handle(), SW_SHOWNORMAL);

        log.exitCode = Application.Run();
        FWaitRun = nullptr;
        return log.exitCode;
    } catch (...) {
        // Whatever its type (running out of memory included), an error that
        // reaches the entry is reported, never a silent end.
        Application.ReportCurrentException();
        return log.exitCode;
    }
}
