// The steps that create folders and copy and write the package's files.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/counter_file.h"
#include "engine/database_swap.h"
#include "engine/fonts.h"
#include "engine/ini_file.h"
#include "engine/install_steps.h"

namespace {

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A folder whose creation the installation does not check: a failure shows
// later, when files cannot be written into it, and the setup log keeps why.
void CreateFolderUnchecked(const std::wstring& folder) {
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Folder not created: " + folder, code);
    }
}

// A run that died inside the database swap left the clinic's database
// under its backup name and none under the live name: say where it is
// before the package's copy takes that name.
void NameLeftOverBackup(Pass& pass, const std::wstring& live) {
    if (FileExists(live)) return;
    const std::wstring backup = NewestDatabaseBackup(live);
    if (backup.empty()) return;
    setup_log::Write(L"Database: " + live + L" missing; the newest backup is " + backup);
    pass.AddLine(L"База данных " + std::wstring(kDatabaseFile) +
                 L" не найдена; прежняя база данных сохранена в файле " + backup);
}

// The clinic's database left as it is: its size and last change on screen
// and in the setup log, and a row of its own in the record.
void KeepDatabase(Pass& pass, const std::wstring& live) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME local{};
    SYSTEMTIME t{};
    std::wstring facts = L"размер и время изменения не прочитаны";
    if (GetFileAttributesExW(live.c_str(), GetFileExInfoStandard, &data) &&
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &t)) {
        const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        facts = std::to_wstring(size) + L" байт, изменена " +
                DateTimeText({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
    } else {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Database size and time not read: " + live, code);
    }
    pass.AddLine(L"База данных " + std::wstring(kDatabaseFile) + L" оставлена без изменений (" + facts + L")");
    setup_log::Write(L"Database kept as it is (unattended; /DB=REPLACE replaces it): " + live);
    pass.Record([&](InstallationRecord& r) {
        r.AddLeftOut(live, L"оставлен: база данных клиники (установка без участия пользователя)");
    });
}

// One file with its progress line; the line gets the outcome appended.
bool CopyWithLine(Pass& pass, const PlannedCopy& file) {
    return pass.WithCopyLine(NameOf(file.destination), [&] {
        const Result<> copied = pass.copy(file.source, file.destination);
        if (!copied) {
            setup_log::WriteFailure(copied);
            setup_log::Write(L"Copy failed: " + file.source + L" -> " + file.destination);
        } else {
            pass.Record([&](InstallationRecord& r) { r.AddCopy(file.source, file.destination); });
        }
        return copied.ok();
    });
}

// A font already in the system was left alone; one the installation did
// not get to is not there.
void RecordFonts(Pass& pass, const PlanStep& step, const std::vector<bool>& present) {
    for (size_t i = 0; i < step.copies.size(); ++i) {
        const PlannedCopy& font = step.copies[i];
        pass.Record([&](InstallationRecord& r) {
            if (present[i])
                r.AddLeftOut(font.destination, L"оставлен: шрифт уже был в системе");
            else if (PathExists(font.destination))
                r.AddCopy(font.source, font.destination);
            else
                r.AddLeftOut(font.destination,
                             L"не установлен: установка шрифтов прервана (см. журнал установки)");
        });
    }
}

// Each copied file's source is hashed on the second thread while the copy
// goes on; the rest are listed with why they were left.
TreeFileSink RecordTreeFile(Pass& pass) {
    InstallationRecord* record = pass.record();
    if (!record) return {};
    return [record](const std::wstring& source, const std::wstring& installed, TreeFileOutcome outcome) {
        switch (outcome) {
            case TreeFileOutcome::Copied:
                return record->AddCopy(source, installed);
            case TreeFileOutcome::Kept:
                return record->AddLeftOut(installed, L"оставлен: файл только для чтения или скрытый");
            case TreeFileOutcome::NotCopied:
                return record->AddLeftOut(installed, L"не скопирован (см. журнал установки)");
            case TreeFileOutcome::PassedOver:
                return record->AddLeftOut(installed, L"пропущен: ссылка (junction или symbolic link)");
        }
    };
}

// Adds a line for each kind of thing the tree copy of the package's folder
// did not do; the setup log names each file, link and folder. Kept
// read-only files and passed-over links are the package's and the clinic's
// own choice, not failures.
int ReportTreeCopy(Pass& pass, std::wstring_view folder, const TreeCopy& copy) {
    const std::wstring copying = L"при копировании каталога <" + std::wstring(folder) + L">: ";
    const struct {
        int count;
        std::wstring text;
        bool problem;
    } lines[] = {
        {copy.notCopied, L"Не скопировано файлов из каталога <" + std::wstring(folder) + L">: ", true},
        {copy.foldersUnread, L"Не прочитано каталогов " + copying, true},
        {copy.kept, L"Не заменено файлов \"только для чтения\" " + copying, false},
        {copy.linksPassedOver, L"Пропущено ссылок (соединений и символических ссылок) " + copying, false},
    };
    int problems = 0;
    for (const auto& line : lines) {
        if (line.count == 0) continue;
        pass.AddLine(line.text + std::to_wstring(line.count));
        if (line.problem) ++problems;
    }
    return problems;
}

}  // namespace

StepResult CreateFolderOrReport(Pass& pass, const PlanStep& step) {
    if (!DirectoryExists(step.folder)) {
        if (!CreateDirectoryW(step.folder.c_str(), nullptr)) {
            const DWORD code = GetLastError();
            setup_log::WriteError(L"Folder not created: " + step.folder, code);
            pass.view().ShowErrorBox(step.failure);
            pass.AddLine(step.failure);
            return {.done = false};
        }
        pass.AddLine(step.progress);
        pass.view().Refresh();
    }
    for (const std::wstring& folder : step.heldOpen) pass.heldFolders.Hold(folder);
    return {};
}

StepResult WriteSettingsFile(Pass& pass, const PlanStep& step) {
    const std::wstring& file = pass.Guarded(step.writes.front());
    IniFile settings(file);
    settings.WriteInteger(kOptionsSection, L"FilterType", 0);
    settings.WriteInteger(kOptionsSection, L"HardwareType", 1);
    settings.UpdateFile();
    pass.Record([&](InstallationRecord& r) { r.AddWritten(file); });
    return {};
}

StepResult AddSettingsLine(Pass& pass, const PlanStep& step) {
    pass.view().Refresh();
    const int line = pass.AddLine(step.progress);
    pass.view().Refresh();
    EnsureDirectory(step.folder);
    pass.Finish(line, true);
    return {};
}

StepResult DeployDatabase(Pass& pass, const PlanStep& step) {
    const PlannedCopy& database = step.copies.front();
    if (KeepsItsDestination(step)) {
        KeepDatabase(pass, database.destination);
        return {};
    }
    CheckDatabaseReplaceable(database.destination);
    NameLeftOverBackup(pass, database.destination);
    DatabaseSwap swap;
    const bool copied = pass.WithCopyLine(step.progress, [&] {
        swap = ReplaceDatabase(database.source, pass.Guarded(database.destination), LocalNow(), pass.copy);
        if (!swap.copied) {
            setup_log::WriteFailure(swap.copied);
            setup_log::Write(L"Database copy failed: " + database.source + L"; " + database.destination +
                             L" is left as it was");
        } else {
            pass.Record([&](InstallationRecord& r) { r.AddCopy(database.source, database.destination); });
        }
        return swap.copied.ok();
    });
    if (!swap.backupName.empty()) pass.AddLine(L"Сохранена копия базы данных: " + swap.backupName);
    return {.done = copied};
}

StepResult CopyGroupFiles(Pass& pass, const PlanStep& step) {
    if (!DirectoryExists(step.folder)) CreateFolderUnchecked(step.folder);
    StepResult result;
    for (const PlannedCopy& file : step.copies) {
        if (CopyWithLine(pass, file)) continue;
        if (step.onFailure == OnFailure::EndsPass) return {.done = false};
        ++result.failures;
    }
    return result;
}

StepResult WriteCounterFileWhenMissing(Pass& pass, const PlanStep& step) {
    const std::wstring& counter = step.writes.front();
    if (!DirectoryExists(step.folder) || PathExists(counter)) return {};
    WriteCounterFile(pass.Guarded(counter), LocalNow());
    if (PathExists(counter)) pass.Record([&](InstallationRecord& r) { r.AddWritten(counter); });
    return {};
}

StepResult WriteBrandFile(Pass& pass, const PlanStep& step) {
    const std::wstring& file = step.writes.front();
    IniFile brand(pass.Guarded(file));
    brand.WriteString(L"Common", L"Disk", L"I");
    brand.UpdateFile();
    pass.Record([&](InstallationRecord& r) { r.AddWritten(file); });
    return {};
}

StepResult InstallPackageFonts(Pass& pass, const PlanStep& step) {
    // Installed already: its file is there and the registry names it. A file
    // alone (a run that ended between copy and registration) is copied and
    // registered again, and recorded as copied.
    std::vector<bool> present;
    for (const PlannedCopy& font : step.copies)
        present.push_back(IsFontInstalled(SystemFontTargets(), NameOf(font.destination)));
    try {
        InstallFonts(pass.installerFolder, [&pass](std::wstring_view line) { pass.AddLine(line); });
    } catch (const Error& e) {
        setup_log::Write(L"Font installation ended: " + e.text());
    } catch (const std::exception& e) {
        setup_log::Write(L"Font installation ended: " + FromUtf8(e.what()));
    }
    RecordFonts(pass, step, present);
    return {};
}

StepResult CopyPackageTree(Pass& pass, const PlanStep& step) {
    const std::wstring folder = WithTrailingBackslash(step.folder);
    if (!DirectoryExists(folder)) CreateFolderUnchecked(folder);
    for (const std::wstring& held : step.heldOpen) pass.heldFolders.Hold(held);
    const PlannedCopy& tree = step.copies.front();
    const int problems =
        ReportTreeCopy(pass, step.progress, CopyFolderTree(tree.source, tree.destination, RecordTreeFile(pass)));
    for (const std::wstring& file : step.writes) SetReadOnly(file, false);
    return {.failures = problems};
}
