#include "app/unattended_run.h"

#include "app/error_report.h"
#include "app/exit_codes.h"
#include "app/install_session.h"
#include "app/large_fonts.h"
#include "app/run_log.h"
#include "app/unattended_view.h"
#include "base/file_system.h"
#include "base/setup_log.h"

namespace {

int Install(HINSTANCE instance, const CommandLine& commandLine) {
    UnattendedView view;
    // The driver question asks for the interface block to be plugged in:
    // unattended, the driver is installed only when asked for. Deployment
    // tools run an installation again whenever it seems missing or failed:
    // the clinic's database stays unless /DB=REPLACE asks for the package's.
    const InstallSession session(
        instance,
        {commandLine.installFolder, commandLine.runtime, commandLine.driver,
         commandLine.replaceDatabase ? DatabaseChoice::Replace : DatabaseChoice::KeepExisting,
         commandLine.allUsers},
        ModuleFolder(), ModulePath());
    setup_log::Write(L"Unattended installation: no pages and no boxes; questions are answered in this log");
    std::optional<SessionEnd> end = session.Check(view);
    if (!end) {
        CreateInstallFolders(session.request().installFolder);
        end = session.Install(view);
    }
    if (!IsRefusal(*end) && *end != SessionEnd::EndedEarly) {
        // Where the wizard would offer large fonts and a restart, the log
        // recommends them; the person who reads it decides.
        if (IsSmallFonts())
            setup_log::Write(
                L"Large fonts recommended: the screen uses small fonts (under 100 dots per inch) and the "
                L"package is laid out for large fonts; unattended, the font size is not changed and "
                L"Windows is not restarted");
        setup_log::Write(L"Final question not asked (unattended)");
    }
    NoteEnding(*end);
    return ExitCodeOf(*end);
}

}  // namespace

int RunUnattended(HINSTANCE instance, const CommandLine& commandLine) noexcept {
    try {
        return Install(instance, commandLine);
    } catch (...) {
        return EndUnattendedByError();
    }
}

int EndUnattendedByError() noexcept {
    // The error report the wizard would show, in the log only.
    try {
        setup_log::Write(L"Error report (unattended, not shown): " + ErrorReportText(CurrentExceptionText()));
    } catch (...) {
        // Out of memory even for the log line: the exit code still tells.
    }
    run_log::Note(run_log::Outcome::Error);
    return exit_code::kFailed;
}
