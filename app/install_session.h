// One installation run as every front end makes it (the wizard, /S, the
// benchmark): the request from the package's defaults and the front end's
// choices, the install folders made beforehand, the checks before anything
// is written, the pass itself, and how its ending reads as an exit code and
// as the setup log's last line. The front ends differ only in the view they
// hand it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "engine/install_request.h"
#include "engine/install_view.h"
#include "engine/plan_executor.h"

// What a front end sets over the defaults: the wizard's fields or the
// command line's switches. Left empty: the default.
struct InstallChoices {
    std::optional<std::wstring> installFolder{};  // default: DefaultInstallFolder
    std::optional<RuntimeChoice> runtime{};       // default: "Windows 7, Windows 8"
    std::optional<bool> driver{};                 // default: not chosen
    std::optional<DatabaseChoice> database{};     // default: replaced, as the wizard does
    bool allUsersDesktop = false;                 // also the default under the system account
};

// How a session ended.
enum class SessionEnd {
    LinkedDestination,       // refused by the checks: a folder written through is a link
    NoRoom,                  // refused by the checks: a volume lacks room
    NoRights,                // refused by the checks: no administrator rights, and the answer was No
    EndedEarly,              // the pass ended on a failure shown on screen
    Completed,               // the pass ran to its end with every step done
    CompletedRestartNeeded,  // so, and Windows must be restarted to finish it
    CompletedWithFailures,
};

// Whether the checks refused the run before anything was written.
bool IsRefusal(SessionEnd end);

// The exit code of a run that ended so (app/exit_codes.h).
int ExitCodeOf(SessionEnd end);

// Notes how the run ended for the setup log's last line: "not started" for
// a refusal, "error" for a pass that ended early, else "completed".
void NoteEnding(SessionEnd end);

// The folder the wizard's folder field starts with and /S installs into
// without /D: "C:\" and the application's name (string-table entry 0 of
// resources).
std::wstring DefaultInstallFolder(HINSTANCE resources);

// The install folder and its settings folder, one level each, as the folder
// page leaves them. A folder that cannot be made goes into the setup log;
// the failure shows when the installation writes there.
void CreateInstallFolders(const std::wstring& installFolder);

class InstallSession {
public:
    // The request from the defaults of resources (the module whose string
    // table and version resource name the brand, the shortcut and the
    // version) with choices over them, for the package in installerFolder;
    // installerProgram is the installer's file, kept in the install folder
    // to remove the installation. A folder chosen in the field or by /D is
    // taken in the program's form, without its trailing "\".
    InstallSession(HINSTANCE resources, const InstallChoices& choices, std::wstring installerFolder,
                   std::wstring installerProgram);

    const InstallRequest& request() const { return request_; }

    // The checks before anything is written (room, rights, links), each
    // refusal told through view. Empty when the run may go on.
    std::optional<SessionEnd> Check(InstallView& view) const;
    // The pass. Errors raised by it pass on.
    SessionEnd Install(InstallView& view, const PassOptions& options = {}) const;

private:
    InstallRequest request_;
    const std::wstring installerFolder_;
};
