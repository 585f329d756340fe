// The last step: the installed files read back against the distribution
// and the installation record filed.
#include "base/error.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "engine/install_steps.h"

namespace {

// Each of the record's files is written whole or not at all; a failure goes
// into the setup log.
bool FileRecordPart(const Pass& pass, const wchar_t* extension, const std::string& bytes,
                    const std::wstring& what) {
    const std::wstring path =
        pass.installFolder + std::wstring(kSettingsFolder) + RecordFileName(pass.started, extension);
    try {
        WriteWholeFileAtomically(path, bytes.data(), bytes.size());
        setup_log::Write(what + L": " + path);
        return true;
    } catch (const Error& e) {
        setup_log::Write(what + L" not written: " + e.text());
        return false;
    }
}

}  // namespace

StepResult VerifyAndFileRecord(Pass& pass, const PlanStep& step) {
    InstallationRecord* record = pass.record();
    if (!record) return {};
    const int line = pass.AddLine(step.progress);
    pass.view().Refresh();
    const RecordVerification verification = record->Verify();
    for (const std::wstring& difference : verification.differences)
        setup_log::Write(L"Installed file differs from the distribution: " + difference);
    const RecordHeader header{pass.request.installerVersion,
                              pass.level,
                              pass.installerFolder,
                              pass.installFolder,
                              WindowsVersion(),
                              UserName(),
                              Elevation(),
                              pass.started,
                              LocalNow()};
    const bool filed = FileRecordPart(pass, L"txt", record->FileBytes(header), L"Installation record");
    // The page to print is a view of the record: without it the record
    // still stands.
    FileRecordPart(pass, L"html", record->PageBytes(header), L"Installation record page");
    // Short: the progress list does not scroll sideways, and its last words
    // are the verdict.
    const std::wstring counts = std::to_wstring(verification.verified);
    if (verification.different == 0 && filed) {
        pass.AppendToLine(line, std::wstring(kDone) + L": файлов " + counts + L", отличий нет");
        return {};
    }
    pass.AppendToLine(line, std::wstring(kFailed) + L" Файлов " + counts + L", отличаются: " +
                                std::to_wstring(verification.different) +
                                (filed ? L"" : L"; протокол не записан"));
    return {.failures = 1};
}
