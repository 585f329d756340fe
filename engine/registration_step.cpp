// The installation's last step: the removal program kept in the install
// folder and the entry that lists the installation among the system's
// installed programs.
#include <windows.h>

#include <cwchar>

#include "base/error.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/install_steps.h"
#include "engine/removal_program.h"
#include "engine/uninstall_entry.h"

namespace {

std::wstring DateText(const LocalDateTime& t) {
    wchar_t text[16];
    swprintf(text, 16, L"%04d%02d%02d", t.year, t.month, t.day);
    return text;
}

uint64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

UninstallEntry EntryOf(Pass& pass, const std::wstring& program) {
    const std::wstring command = L"\"" + program + L"\" /UNINSTALL \"/D=" + pass.installFolder + L"\"";
    const InstallationRecord* record = pass.record();
    const uint64_t bytes = (record ? record->InstalledBytes() : 0) + FileSize(program);
    return {pass.request.displayName,
            pass.level,
            pass.request.installerVersion,
            pass.request.publisher,
            WithTrailingBackslash(pass.installFolder),
            DateText(pass.started),
            static_cast<uint32_t>((bytes + 1023) / 1024),
            program,
            command,
            command + L" /S"};
}

Result<> Register(Pass& pass, const PlannedCopy& program) {
    try {
        pass.Guarded(program.destination);
    } catch (const Error& e) {
        return Result<>::Failure(e.text(), 0);
    }
    if (Result<> kept = KeepRemovalProgram(program.source, program.destination, Elevation() == L"yes"); !kept)
        return kept;
    return WriteUninstallEntry(EntryOf(pass, program.destination));
}

}  // namespace

StepResult RegisterForRemoval(Pass& pass, const PlanStep& step) {
    const PlannedCopy& program = step.copies.front();
    const Result<> result = Register(pass, program);
    if (result) {
        setup_log::Write(L"Registered in the list of installed programs: HKLM\\" + std::wstring(kUninstallKey) +
                         L" (32-bit view); removal program: " + program.destination);
        return {};
    }
    setup_log::WriteFailure(result);
    pass.Finish(pass.AddLine(step.progress), false);
    return {.done = false, .failures = 1};
}
