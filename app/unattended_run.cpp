#include "app/unattended_run.h"

#include "app/brand.h"
#include "app/error_report.h"
#include "app/exit_codes.h"
#include "app/large_fonts.h"
#include "app/resources_access.h"
#include "app/run_log.h"
#include "app/string_table.h"
#include "app/unattended_view.h"
#include "base/file_system.h"
#include "base/setup_log.h"
#include "engine/file_ops.h"
#include "engine/install_sequence.h"
#include "engine/preflight.h"

namespace {

InstallRequest RequestOf(HINSTANCE instance, const CommandLine& commandLine) {
    InstallRequest request;
    request.installFolder = commandLine.installFolder.value_or(DefaultInstallFolder(instance));
    request.runtime = commandLine.runtime.value_or(RuntimeChoice::Modern);
    // The driver question asks for the interface block to be plugged in:
    // unattended, the driver is installed only when asked for.
    request.driver = commandLine.driver.value_or(false);
    request.alternativeBrand = IsAlternativeBrand(LoadResString(instance, IDS_PRODUCT_NAME));
    request.shortcut = DesktopShortcutNames(instance);
    request.installerVersion = run_log::ProgramVersion(instance);
    request.keepRecord = true;
    return request;
}

// What the folder page does on "Далее": the folder and its settings folder,
// one level each. A failure shows when the installation writes there.
void CreateInstallFolders(const std::wstring& folder) {
    for (const std::wstring& path : {folder, folder + std::wstring(kSettingsFolder)}) {
        if (DirectoryExists(path) || CreateDirectoryW(path.c_str(), nullptr)) continue;
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Folder not created: " + path, code);
    }
}

int Refused(int code) {
    run_log::Note(run_log::Outcome::NotStarted);
    return code;
}

int Install(HINSTANCE instance, const CommandLine& commandLine) {
    UnattendedView view;
    const InstallRequest request = RequestOf(instance, commandLine);
    const std::wstring installerFolder = ModuleFolder();
    setup_log::Write(L"Unattended installation: no pages and no boxes; questions are answered in this log");
    // The shell's copy of the driver folder shows nothing either and
    // answers its own questions (replace, merge) with Yes.
    SetProcessShellCopyUi(ShellCopyUi::None);
    switch (CheckBeforeInstallation(view, request, installerFolder)) {
        case PreflightVerdict::LinkedDestination:
            return Refused(exit_code::kFailed);
        case PreflightVerdict::NoRoom:
            return Refused(exit_code::kNoRoom);
        case PreflightVerdict::NoRights:
            return Refused(exit_code::kNeedsAdministrator);
        case PreflightVerdict::Go:
            break;
    }
    CreateInstallFolders(request.installFolder);
    const InstallOutcome outcome = RunInstallation(view, request, installerFolder);
    if (outcome == InstallOutcome::EndedEarly) {
        run_log::Note(run_log::Outcome::Error);
        return exit_code::kFailed;
    }
    // Where the wizard would offer large fonts and a restart, the log
    // recommends them; the person who reads it decides.
    if (IsSmallFonts())
        setup_log::Write(
            L"Large fonts recommended: the screen uses small fonts (under 100 dots per inch) and the "
            L"package is laid out for large fonts; unattended, the font size is not changed and "
            L"Windows is not restarted");
    setup_log::Write(L"Final question not asked (unattended)");
    run_log::Note(run_log::Outcome::Completed);
    return outcome == InstallOutcome::Completed ? exit_code::kDone : exit_code::kStepsFailed;
}

}  // namespace

std::wstring DefaultInstallFolder(HINSTANCE instance) {
    return L"C:\\" + LoadResString(instance, IDS_APP_NAME) + L"\\";
}

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
