#include "app/install_session.h"

#include "app/application.h"
#include "app/brand.h"
#include "app/exit_codes.h"
#include "app/resources_access.h"
#include "app/run_log.h"
#include "app/string_table.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/install_sequence.h"
#include "engine/preflight.h"

bool IsRefusal(SessionEnd end) {
    return end == SessionEnd::LinkedDestination || end == SessionEnd::NoRoom || end == SessionEnd::NoRights;
}

int ExitCodeOf(SessionEnd end) {
    switch (end) {
        case SessionEnd::NoRoom:
            return exit_code::kNoRoom;
        case SessionEnd::NoRights:
            return exit_code::kNeedsAdministrator;
        case SessionEnd::Completed:
            return exit_code::kDone;
        case SessionEnd::CompletedRestartNeeded:
            return exit_code::kRestartNeeded;
        case SessionEnd::CompletedWithFailures:
            return exit_code::kStepsFailed;
        case SessionEnd::LinkedDestination:
        case SessionEnd::EndedEarly:
            break;
    }
    return exit_code::kFailed;
}

void NoteEnding(SessionEnd end) {
    run_log::Note(IsRefusal(end)                  ? run_log::Outcome::NotStarted
                  : end == SessionEnd::EndedEarly ? run_log::Outcome::Error
                                                  : run_log::Outcome::Completed);
}

std::wstring DefaultInstallFolder(HINSTANCE resources) {
    return JoinPath(L"C:\\", LoadResString(resources, IDS_APP_NAME));
}

void CreateInstallFolders(const std::wstring& installFolder) {
    for (const std::wstring& path : {installFolder, JoinPath(installFolder, kSettingsFolder)}) {
        if (DirectoryExists(path) || CreateDirectoryW(path.c_str(), nullptr)) continue;
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Folder not created: " + path, code);
    }
}

InstallSession::InstallSession(HINSTANCE resources, const InstallChoices& choices, std::wstring installerFolder,
                               std::wstring installerProgram)
    : installerFolder_(WithoutTrailingBackslash(installerFolder)) {
    request_.installFolder =
        WithoutTrailingBackslash(choices.installFolder.value_or(DefaultInstallFolder(resources)));
    request_.runtime = choices.runtime.value_or(RuntimeChoice::Modern);
    request_.driver = choices.driver.value_or(false);
    request_.database = choices.database.value_or(DatabaseChoice::Replace);
    request_.alternativeBrand = IsAlternativeBrand(LoadResString(resources, IDS_PRODUCT_NAME));
    request_.shortcut = DesktopShortcutNames(resources);
    // The system account's own desktop is seen by nobody.
    const bool system = RunsAsLocalSystem();
    request_.allUsersDesktop = choices.allUsersDesktop || system;
    if (system)
        setup_log::Write(
            L"Running as the system account (LocalSystem): the shortcut goes on the all users' desktop");
    request_.installerVersion = run_log::ProgramVersion(resources);
    request_.installerProgram = std::move(installerProgram);
    request_.displayName = kApplicationTitle;
    request_.publisher = LoadResString(resources, IDS_PRODUCT_NAME);
}

std::optional<SessionEnd> InstallSession::Check(InstallView& view) const {
    switch (CheckBeforeInstallation(view, request_, installerFolder_)) {
        case PreflightVerdict::LinkedDestination:
            return SessionEnd::LinkedDestination;
        case PreflightVerdict::NoRoom:
            return SessionEnd::NoRoom;
        case PreflightVerdict::NoRights:
            return SessionEnd::NoRights;
        case PreflightVerdict::Go:
            break;
    }
    return std::nullopt;
}

SessionEnd InstallSession::Install(InstallView& view, const PassOptions& options) const {
    switch (RunInstallation(view, request_, installerFolder_, options)) {
        case InstallOutcome::EndedEarly:
            return SessionEnd::EndedEarly;
        case InstallOutcome::Completed:
            return SessionEnd::Completed;
        case InstallOutcome::CompletedRestartNeeded:
            return SessionEnd::CompletedRestartNeeded;
        case InstallOutcome::CompletedWithFailures:
            break;
    }
    return SessionEnd::CompletedWithFailures;
}
