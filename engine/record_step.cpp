// The installation record's steps: the copies read back against the
// distribution before the update script, what the script changed, and the
// record filed at the end.
#include <algorithm>

#include "base/error.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "engine/install_steps.h"
#include "engine/tree_walk.h"

namespace {

// Every file of the install folder, by its full path, sorted.
std::vector<std::wstring> InstalledFiles(const Pass& pass) {
    std::vector<std::wstring> files;
    const std::wstring& install = pass.installFolder;
    ForEachTreeFile(install, [&](const std::wstring& relative) { files.push_back(JoinPath(install, relative)); });
    std::sort(files.begin(), files.end());
    return files;
}

// Each of the record's files is written whole or not at all; a failure goes
// into the setup log.
bool FileRecordPart(const Pass& pass, const wchar_t* extension, const std::string& bytes,
                    const std::wstring& what) {
    const std::wstring path =
        JoinPath(pass.installFolder, kSettingsFolder, RecordFileName(pass.started, extension));
    try {
        WriteWholeFileAtomically(pass.Guarded(path), bytes.data(), bytes.size());
        setup_log::Write(what + L": " + path);
        return true;
    } catch (const Error& e) {
        setup_log::Write(what + L" not written: " + e.text());
        return false;
    }
}

}  // namespace

StepResult VerifyCopies(Pass& pass, const PlanStep&) {
    InstallationRecord* record = pass.record();
    if (!record) return {};
    pass.verification = record->Verify();
    for (const std::wstring& difference : pass.verification.differences)
        setup_log::Write(L"Installed file differs from the distribution: " + difference);
    pass.filesBeforeUpdate = InstalledFiles(pass);
    return {};
}

void NoteUpdateChanges(Pass& pass, const std::wstring& update) {
    InstallationRecord* record = pass.record();
    if (!record) return;
    std::vector<std::wstring> added;
    for (const std::wstring& file : InstalledFiles(pass))
        if (!std::binary_search(pass.filesBeforeUpdate.begin(), pass.filesBeforeUpdate.end(), file))
            added.push_back(file);
    pass.changedByUpdate = record->NoteUpdate(update, added);
    setup_log::Write(L"Update script " + update + L": installed files changed or removed: " +
                     std::to_wstring(pass.changedByUpdate) + L", files added: " + std::to_wstring(added.size()));
}

StepResult FileRecord(Pass& pass, const PlanStep& step) {
    InstallationRecord* record = pass.record();
    if (!record) return {};
    const int line = pass.AddLine(step.progress);
    pass.view().Refresh();
    const RecordVerification& verification = pass.verification;
    const RecordHeader header{pass.request.installerVersion,
                              pass.level,
                              WithTrailingBackslash(pass.installerFolder),
                              WithTrailingBackslash(pass.installFolder),
                              WindowsVersion(),
                              UserName(),
                              Elevation(),
                              pass.started,
                              LocalNow(),
                              pass.shortcut};
    const bool filed = FileRecordPart(pass, L"txt", record->FileBytes(header), L"Installation record");
    // The page to print is a view of the record: without it the record
    // still stands.
    FileRecordPart(pass, L"html", record->PageBytes(header), L"Installation record page");
    // Short: its last words are the verdict.
    const std::wstring counts = std::to_wstring(verification.verified);
    if (verification.different == 0 && filed) {
        pass.AppendToLine(line, std::wstring(kDone) + L": файлов " + counts + L", отличий нет" +
                                    (pass.changedByUpdate == 0
                                         ? L""
                                         : L"; изменено обновлением: " + std::to_wstring(pass.changedByUpdate)));
        return {};
    }
    pass.AppendToLine(line, std::wstring(kFailed) + L" Файлов " + counts + L", отличаются: " +
                                std::to_wstring(verification.different) +
                                (filed ? L"" : L"; протокол не записан"));
    return {.failures = 1};
}
