#include "engine/removal.h"

#include <windows.h>

#include <algorithm>

#include "base/error.h"
#include "base/file_system.h"
#include "base/package_names.h"
#include "base/setup_log.h"
#include "base/sha256.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/destination_guard.h"
#include "engine/installation_record.h"
#include "engine/plan_executor.h"
#include "engine/record_reader.h"
#include "engine/removal_program.h"
#include "engine/removal_record.h"
#include "engine/uninstall_entry.h"

namespace {

// Whether the relative path lies in folder (a name of the install folder).
bool StartsWithFolder(std::wstring_view path, std::wstring_view folder) {
    return path.size() > folder.size() && path[folder.size()] == L'\\' &&
           SameFileName(path.substr(0, folder.size()), folder);
}

// Why a file the record lists is never removed, or "" when it may be.
std::wstring_view KeptForGood(const std::wstring& path) {
    if (IsFullRecordPath(path)) return L"оставлен: вне каталога установки (шрифты общие с системой)";
    if (StartsWithFolder(path, kDatabaseFolder)) return L"оставлен: база данных клиники";
    if (StartsWithFolder(path, kSettingsFolder)) return L"оставлен: настройки и протоколы";
    if (StartsWithFolder(path, kDriverFolder))
        return L"оставлен: пакет драйвера (драйвер удаляется его собственной программой)";
    return {};
}

// The installation records are named by their run's start, so the last
// name is the latest run's.
std::wstring LatestRecord(const std::wstring& settings) {
    WIN32_FIND_DATAW found;
    const ScopedFindHandle find(FindFirstFileW(JoinPath(settings, L"VelmoraSetup record *.txt").c_str(), &found));
    std::wstring latest;
    if (!find.valid()) return latest;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::wstring(found.cFileName) > latest)
            latest = found.cFileName;
    } while (FindNextFileW(find.get(), &found));
    return latest;
}

std::wstring FailureText(std::wstring_view what, DWORD code) {
    return L"ОШИБКА: " + std::wstring(what) + L": " + SystemErrorText(code);
}

class Removal {
public:
    Removal(const std::wstring& installFolder, const std::wstring& runningProgram)
        : folder_(WithoutTrailingBackslash(installFolder)), running_(runningProgram) {}

    RemovalReport Run() {
        report_.end = ReadRecord();
        if (report_.end != RemovalEnd::Removed) return std::move(report_);
        for (const RecordedFile& file : record_.files) RemoveFile(file);
        RemoveProgram();
        RemoveShortcut();
        RemoveEmptyFolders();
        RemoveEntry();
        report_.end = report_.failed > 0     ? RemovalEnd::RemovedWithFailures
                      : report_.removed == 0 ? RemovalEnd::NothingToRemove
                                             : RemovalEnd::Removed;
        return std::move(report_);
    }

private:
    RemovalEnd ReadRecord() {
        const std::wstring settings = JoinPath(folder_, kSettingsFolder);
        const std::wstring latest = LatestRecord(settings);
        if (latest.empty()) {
            report_.error = L"в каталоге " + WithTrailingBackslash(settings) + L" нет протокола установки";
            return RemovalEnd::NoRecord;
        }
        report_.record = JoinPath(settings, latest);
        try {
            const std::vector<unsigned char> bytes = ReadWholeFile(report_.record);
            std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            if (text.rfind("\xEF\xBB\xBF", 0) != 0) {
                report_.error = L"протокол " + report_.record + L" не в кодировке UTF-8 с меткой порядка байтов";
                return RemovalEnd::UnreadableRecord;
            }
            RecordReading reading = ReadInstallationRecord(FromUtf8(text.substr(3)));
            if (!reading.content) {
                report_.error = L"протокол " + report_.record + L" не прочитан: " + reading.error;
                return RemovalEnd::UnreadableRecord;
            }
            record_ = std::move(*reading.content);
        } catch (const Error& e) {
            report_.error = e.text();
            return RemovalEnd::UnreadableRecord;
        }
        setup_log::Write(L"Removal: installation record " + report_.record);
        return RemovalEnd::Removed;
    }

    void Note(const std::wstring& path, std::wstring outcome) {
        setup_log::Write(L"Removal: " + path + L": " + outcome);
        report_.items.push_back({path, std::move(outcome)});
    }

    // A file gone or taken away leaves its folders to look at.
    void Gone(const std::wstring& path) {
        for (std::wstring folder = FolderOf(path); !folder.empty(); folder = FolderOf(folder))
            folders_.push_back(folder);
    }

    void RemoveFile(const RecordedFile& file) {
        if (const std::wstring_view why = KeptForGood(file.path); !why.empty())
            return Note(file.path, std::wstring(why));
        if (file.installedHash.empty())
            return Note(file.path, L"оставлен: не установлен этой установкой (" + file.verdict + L")");
        const std::wstring path = JoinPath(folder_, file.path);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            Gone(file.path);
            return Note(file.path, L"уже удалён");
        }
        try {
            RefuseLinkOnTheWay(folder_, path);
            if (HexText(HashFile(algorithm_, path, buffer_)) != ToUtf8(file.installedHash)) {
                ++report_.changed;
                return Note(file.path, L"оставлен: изменён после установки");
            }
        } catch (const Error& e) {
            ++report_.failed;
            return Note(file.path, L"ОШИБКА: не проверен: " + e.text());
        }
        // The package may carry read-only files; these bytes are the
        // installation's own.
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) {
            const DWORD code = GetLastError();
            ++report_.failed;
            return Note(file.path, FailureText(L"не удалён", code));
        }
        ++report_.removed;
        Gone(file.path);
        Note(file.path, L"удалён");
    }

    // The running program cannot delete itself: it and its folder go at
    // the next restart.
    void RemoveProgram() {
        const std::wstring program = RemovalProgramPath(folder_);
        const std::wstring relative = JoinPath(kRemovalFolder, kRemovalProgram);
        if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        if (!SameFileName(program, running_)) {
            if (!DeleteFileW(program.c_str())) {
                const DWORD code = GetLastError();
                ++report_.failed;
                return Note(relative, FailureText(L"не удалён", code));
            }
            ++report_.removed;
            Gone(relative);
            return Note(relative, L"удалён");
        }
        const std::wstring folder = FolderOf(program);
        for (const std::wstring& path : {program, folder})
            if (!MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
                const DWORD code = GetLastError();
                ++report_.failed;
                return Note(relative, FailureText(L"не удалён и не назначен к удалению", code));
            }
        ++report_.removed;
        Note(relative,
             L"удаляется при перезапуске Windows вместе с каталогом (программа удаления запущена из него)");
    }

    void RemoveShortcut() {
        const std::wstring& link = record_.shortcut;
        if (link.empty() || GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        if (!DeleteFileW(link.c_str())) {
            const DWORD code = GetLastError();
            ++report_.failed;
            return Note(link, FailureText(L"ярлык не удалён", code));
        }
        ++report_.removed;
        Note(link, L"ярлык удалён");
    }

    // Deepest first, so a folder emptied by its subfolder's removal goes
    // too; a folder that still holds something stays without a word.
    void RemoveEmptyFolders() {
        std::sort(folders_.begin(), folders_.end(), [](const std::wstring& a, const std::wstring& b) {
            return a.size() != b.size() ? a.size() > b.size() : a < b;
        });
        folders_.erase(std::unique(folders_.begin(), folders_.end()), folders_.end());
        for (const std::wstring& folder : folders_) {
            if (!RemoveDirectoryW(JoinPath(folder_, folder).c_str())) continue;
            ++report_.removed;
            Note(WithTrailingBackslash(folder), L"пустой каталог удалён");
        }
    }

    // Only this installation's entry: a later installation elsewhere
    // rewrote it for its own folder.
    void RemoveEntry() {
        const std::wstring location = UninstallEntryLocation();
        const std::wstring entry = L"HKLM\\" + std::wstring(kUninstallKey);
        if (location.empty()) return;
        if (!SameFileName(WithoutTrailingBackslash(location), folder_))
            return Note(entry, L"оставлена: запись об установке в каталог " + location);
        if (const Result<> deleted = DeleteUninstallEntry(); !deleted) {
            ++report_.failed;
            return Note(entry, FailureText(L"запись не удалена", deleted.code()));
        }
        ++report_.removed;
        Note(entry, L"запись в списке установленных программ удалена");
    }

    const std::wstring folder_;
    const std::wstring running_;
    RecordContent record_;
    RemovalReport report_;
    const Sha256Algorithm algorithm_;
    std::string buffer_;
    std::vector<std::wstring> folders_;  // relative
};

}  // namespace

RemovalReport RemoveInstallation(const std::wstring& installFolder, const std::wstring& runningProgram) {
    const LocalDateTime started = LocalNow();
    RemovalReport report = Removal(installFolder, runningProgram).Run();
    if (report.end == RemovalEnd::NoRecord || report.end == RemovalEnd::UnreadableRecord) return report;
    // Every removal keeps its record, two in one second included.
    const std::wstring name = RecordFileName(started, L"txt", L"removal");
    const std::wstring settings = JoinPath(installFolder, kSettingsFolder);
    std::wstring path = JoinPath(settings, name);
    for (int copy = 2; FileExists(path); ++copy)
        path = JoinPath(settings, name.substr(0, name.size() - 4) + L" (" + std::to_wstring(copy) + L").txt");
    try {
        const std::string bytes = RemovalRecordBytes(report, WithTrailingBackslash(installFolder), started);
        WriteWholeFileAtomically(path, bytes.data(), bytes.size());
        report.removalRecord = path;
        setup_log::Write(L"Removal record: " + path);
    } catch (const Error& e) {
        ++report.failed;
        report.end = RemovalEnd::RemovedWithFailures;
        setup_log::Write(L"Removal record not written: " + e.text());
    }
    return report;
}
