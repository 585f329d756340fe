#include "engine/install_sequence.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/package_names.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/Shortcut.h"
#include "engine/counter_file.h"
#include "engine/database_swap.h"
#include "engine/deployment_manifest.h"
#include "engine/destination_guard.h"
#include "engine/fonts.h"
#include "engine/held_package.h"
#include "engine/ini_file.h"
#include "engine/installation_record.h"
#include "engine/package_choice.h"
#include "engine/process_runner.h"
#include "engine/release_info.h"
#include "engine/tree_walk.h"

namespace {

constexpr std::wstring_view kDone = L"Завершено";
constexpr std::wstring_view kFailed = L"ОШИБКА!!!";

LocalDateTime Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

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

// The current folder of the update script; a refusal is not fatal.
void ChangeCurrentFolder(const std::wstring& folder) {
    if (!SetCurrentDirectoryW(folder.c_str())) {
        const DWORD code = GetLastError();
        setup_log::WriteError(L"Current folder not changed to " + folder, code);
    }
}

// Closing is refused and the hourglass shows while the package's files are
// written; every way out of that block undoes it.
class BusyState {
public:
    explicit BusyState(InstallView& view) : view_(view) { view_.SetBusy(true); }
    ~BusyState() { view_.SetBusy(false); }
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

private:
    InstallView& view_;
};

// From the first file written until the release level is recorded the
// Windows session may not end; the view is told each step, and that the
// session may end again on every way out.
class SessionHold {
public:
    explicit SessionHold(InstallView& view) : view_(view) {}
    ~SessionHold() { Release(); }
    SessionHold(const SessionHold&) = delete;
    SessionHold& operator=(const SessionHold&) = delete;

    void At(std::wstring_view step) {
        held_ = true;
        view_.HoldSession(step);
    }
    void Release() {
        if (held_) view_.HoldSession({});
        held_ = false;
    }

private:
    InstallView& view_;
    bool held_ = false;
};

class Installation {
public:
    Installation(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder,
                 FileCopy copy)
        : view_(view),
          request_(request),
          installFolder_(request.installFolder),
          installerFolder_(installerFolder),
          copy_(copy) {}

    InstallOutcome Run() {
        Prepare();
        if (!CreateInstallFolder()) return EndedEarly();
        heldFolders_.Hold(installFolder_);
        heldFolders_.Hold(installFolder_ + std::wstring(kSettingsFolder));
        StartRecord();
        SessionHold session(view_);
        session.At(L"writing the settings and the package's files");
        WriteSettingsFile();
        if (!DeployFiles()) return EndedEarly();
        session.At(L"installing the fonts");
        InstallPackageFonts();
        session.At(L"installing the driver");
        InstallDriver();
        session.At(L"copying the update packages and the updater");
        CopyUpdatePackages();
        CopyUpdater();
        VerifyCopies();
        session.At(L"running the update script");
        const std::wstring package = FindNewestPackage(installFolder_);
        setup_log::Write(L"Newest update package: " + package);
        std::wstring level;
        if (RunUpdateScript(package)) {
            NoteUpdateChanges(NameOf(package));
            session.At(L"recording the release level");
            level = NameOf(package).substr(1);
            Guarded(installFolder_ + std::wstring(kReleaseInfoFile));
            SetReleaseLevel(installFolder_, level);
            setup_log::Write(L"Release level recorded: " + level);
            Record([&](InstallationRecord& r) { r.AddWritten(installFolder_ + std::wstring(kReleaseInfoFile)); });
        }
        session.Release();
        CreateDesktopShortcut();
        FileRecord(level);
        if (problems_ == 0) {
            setup_log::Write(L"Installation completed");
            return InstallOutcome::Completed;
        }
        setup_log::Write(L"Installation completed; problems shown on screen: " + std::to_wstring(problems_));
        return InstallOutcome::CompletedWithFailures;
    }

private:
    void Prepare() {
        setup_log::Write(L"Installation started. Install folder: " + installFolder_ + L"; installer folder: " +
                         installerFolder_);
        setup_log::Write(std::wstring(L"Choices: runtime for ") +
                         (request_.runtime == RuntimeChoice::Modern ? L"Windows 7, Windows 8" : L"Windows XP") +
                         L"; driver " + (request_.driver ? L"chosen" : L"not chosen") + L"; brand " +
                         (request_.alternativeBrand ? L"alternative" : L"standard"));
        view_.ShowProgressPage();
        view_.Refresh();
    }

    bool CreateInstallFolder() {
        return CreateFolderOrReport(installFolder_, L"Ошибка при создании каталога!", L"Каталог создан...");
    }

    void WriteSettingsFile() {
        const std::wstring file =
            Guarded(installFolder_ + std::wstring(kSettingsFolder) + std::wstring(kSettingsFile));
        IniFile settings(file);
        settings.WriteInteger(kOptionsSection, L"FilterType", 0);
        settings.WriteInteger(kOptionsSection, L"HardwareType", 1);
        settings.UpdateFile();
        Record([&](InstallationRecord& r) { r.AddWritten(file); });
    }

    // The block during which the window may not close.
    bool DeployFiles() {
        BusyState busy(view_);
        AddSettingsLine();
        if (!CreateDatabaseFolder()) return false;
        if (!DeployDatabase()) return false;
        for (const CopyGroup& group : CopyGroups(request_.runtime))
            if (!CopyGroupFiles(group)) return false;
        WriteCounterFileWhenMissing();
        WriteBrandFile();
        return true;
    }

    void AddSettingsLine() {
        view_.Refresh();
        const int line = view_.AddLine(L"Создание настроечных файлов....");
        view_.Refresh();
        EnsureDirectory(installFolder_ + std::wstring(kSettingsFolder));
        view_.AppendToLine(line, kDone);
    }

    bool CreateDatabaseFolder() {
        const std::wstring folder = installFolder_ + std::wstring(kDatabaseFolder);
        if (!CreateFolderOrReport(folder, L"Ошибка при создании каталога <DTAfb>!", L"Каталог <DTAfb> создан..."))
            return false;
        heldFolders_.Hold(folder);
        return true;
    }

    // A reinstallation must not destroy the clinic's data: the package's copy
    // takes the database's name only once it is whole, and the old database
    // stays beside it under a dated name, reported once it is there. A
    // database in use is refused before anything is copied.
    bool DeployDatabase() {
        const std::wstring database(std::wstring(kDatabaseFolder) + std::wstring(kDatabaseFile));
        CheckDatabaseReplaceable(installFolder_ + database);
        NameLeftOverBackup(installFolder_ + database);
        DatabaseSwap swap;
        const bool copied = WithCopyLine(kDatabaseFile, [&] {
            swap = ReplaceDatabase(installerFolder_ + database, Guarded(installFolder_ + database), Now(), copy_);
            if (!swap.copied) {
                setup_log::WriteFailure(swap.copied);
                setup_log::Write(L"Database copy failed: " + installerFolder_ + database + L"; " + installFolder_ +
                                 database + L" is left as it was");
            } else {
                Record([&](InstallationRecord& r) {
                    r.AddCopy(installerFolder_ + database, installFolder_ + database);
                });
            }
            return swap.copied.ok();
        });
        if (!swap.backupName.empty()) view_.AddLine(L"Сохранена копия базы данных: " + swap.backupName);
        return copied;
    }

    // A run that died inside the database swap left the clinic's database
    // under its backup name and none under the live name: say where it is
    // before the package's copy takes that name.
    void NameLeftOverBackup(const std::wstring& live) {
        if (FileExists(live)) return;
        const std::wstring backup = NewestDatabaseBackup(live);
        if (backup.empty()) return;
        setup_log::Write(L"Database: " + live + L" missing; the newest backup is " + backup);
        view_.AddLine(L"База данных " + std::wstring(kDatabaseFile) +
                      L" не найдена; прежняя база данных сохранена в файле " + backup);
    }

    bool CopyGroupFiles(const CopyGroup& group) {
        const std::wstring destination = installFolder_ + std::wstring(group.destinationFolder);
        if (!DirectoryExists(destination)) CreateFolderUnchecked(destination);
        for (std::wstring_view name : group.files) {
            const bool copied =
                CopyWithLine(name, installerFolder_ + std::wstring(group.sourceFolder) + std::wstring(name),
                             destination + std::wstring(name));
            if (copied) continue;
            if (group.stopsOnFailure) return false;
            ++problems_;
        }
        return true;
    }

    // One file with its progress line; the line gets the outcome appended.
    bool CopyWithLine(std::wstring_view name, const std::wstring& source, const std::wstring& destination) {
        return WithCopyLine(name, [&] {
            const Result copied = copy_(source, destination);
            if (!copied) {
                setup_log::WriteFailure(copied);
                setup_log::Write(L"Copy failed: " + source + L" -> " + destination);
            } else {
                Record([&](InstallationRecord& r) { r.AddCopy(source, destination); });
            }
            return copied.ok();
        });
    }
    template <typename Copy>
    bool WithCopyLine(std::wstring_view name, Copy copy) {
        const int line = view_.AddLine(L"Копирование файла " + std::wstring(name) + L"....");
        view_.Refresh();
        const bool copied = copy();
        view_.AppendToLine(line, copied ? kDone : kFailed);
        return copied;
    }

    void WriteCounterFileWhenMissing() {
        const std::wstring settings = installFolder_ + std::wstring(kSettingsFolder);
        const std::wstring counter = settings + std::wstring(kCounterFile);
        if (!DirectoryExists(settings) || PathExists(counter)) return;
        Guarded(counter);
        WriteCounterFile(counter, Now());
        if (PathExists(counter)) Record([&](InstallationRecord& r) { r.AddWritten(counter); });
    }

    void WriteBrandFile() {
        if (!request_.alternativeBrand) return;
        IniFile brand(Guarded(installFolder_ + std::wstring(kBrandFile)));
        brand.WriteString(L"Common", L"Disk", L"I");
        brand.UpdateFile();
        Record([&](InstallationRecord& r) { r.AddWritten(installFolder_ + std::wstring(kBrandFile)); });
    }

    // Fonts already in the system are left alone; a font that cannot be
    // installed ends the fonts but not the installation.
    void InstallPackageFonts() {
        const std::wstring fonts = SystemFontTargets().fontsFolder;
        // Installed already: its file is there and the registry names it. A
        // file alone (a run that ended between copy and registration) is
        // copied and registered again, and recorded as copied.
        std::vector<bool> present;
        for (const wchar_t* name : FontFiles()) present.push_back(IsFontInstalled(SystemFontTargets(), name));
        try {
            InstallFonts(installerFolder_, [this](std::wstring_view line) { view_.AddLine(line); });
        } catch (const Error& e) {
            setup_log::Write(L"Font installation ended: " + e.text());
        } catch (const std::exception& e) {
            setup_log::Write(L"Font installation ended: " + FromUtf8(e.what()));
        }
        RecordFonts(fonts, present);
    }

    // A font already in the system was left alone; one the installation
    // did not get to is not there.
    void RecordFonts(const std::wstring& fonts, const std::vector<bool>& present) {
        const std::wstring source = PackageFontsFolder(installerFolder_);
        for (size_t i = 0; i < FontFiles().size(); ++i) {
            const std::wstring name = FontFiles()[i];
            Record([&](InstallationRecord& r) {
                if (present[i])
                    r.AddLeftOut(fonts + name, L"оставлен: шрифт уже был в системе");
                else if (PathExists(fonts + name))
                    r.AddCopy(source + name, fonts + name);
                else
                    r.AddLeftOut(fonts + name,
                                 L"не установлен: установка шрифтов прервана (см. журнал установки)");
            });
        }
    }

    void InstallDriver() {
        // The question names the "Yes" button, so the box shows that word.
        if (!request_.driver ||
            !view_.AskYesNo(kConnectDriverQuestion, YesNoCaptions::English, DefaultButton::Yes))
            return;
        const std::wstring folder(kDriverFolder);
        if (!DirectoryExists(installerFolder_ + folder))
            setup_log::Write(L"Driver folder not in the package: " + installerFolder_ + folder);
        else if (const Result copied = ShellCopyFolder(installerFolder_ + folder, installFolder_ + folder);
                 !copied)
            setup_log::WriteFailure(copied);
        else
            RecordDriverFolder(installerFolder_ + folder, installFolder_ + folder + L"\\");
        const int line = view_.AddLine(L"Началась установка драйверов устройства...");
        view_.RepaintLog();
        // Always the distribution's own program, as trusted as the installer
        // the technician started: any user of the PC may write into the
        // install folder's copy and put DLLs beside it, which the program
        // would load first. The copy stays there for the package's programs.
        const std::wstring program = installerFolder_ + std::wstring(kDriverProgram);
        setup_log::Write(L"Driver installer started from the distribution: " + program);
        // Quoted: a folder with blanks must not start another program.
        // Started in its own folder, so it finds its files there.
        const ProgramResult run = StartProgram(L"\"" + program + L"\"", SW_HIDE, true, installerFolder_ + folder);
        if (!run.started) {
            setup_log::WriteError(L"Driver installer not started: " + program, run.error.code());
            view_.AppendToLine(line, kFailed);
            ++problems_;
            return;
        }
        // Driver installers return flag values, not a verdict: only recorded,
        // as the signed number they mean.
        if (run.ended())
            setup_log::Write(L"Driver installer ended with exit code " +
                             std::to_wstring(static_cast<int32_t>(run.exitCode)));
        else
            setup_log::WriteFailure(run.error);
        view_.AddLine(L"Установка драйверов устройства завершена");
    }

    // The shell copied the whole folder; its files are what the tree walk
    // of the source finds.
    void RecordDriverFolder(const std::wstring& source, const std::wstring& installed) {
        ForEachTreeFile(source, [&](const std::wstring& relative) {
            Record([&](InstallationRecord& r) { r.AddCopy(source + L"\\" + relative, installed + relative); });
        });
    }

    // Adds a line for each kind of thing the tree copy of the package's
    // folder did not do; the setup log names each file, link and folder.
    // Kept read-only files and passed-over links are the package's and the
    // clinic's own choice, not failures.
    void ReportTreeCopy(std::wstring_view folder, const TreeCopy& copy) {
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
        for (const auto& line : lines) {
            if (line.count == 0) continue;
            view_.AddLine(line.text + std::to_wstring(line.count));
            if (line.problem) ++problems_;
        }
    }

    void CopyUpdatePackages() {
        // Names compare without regard to case: an existing "Backup" is used.
        const std::wstring store = installFolder_ + std::wstring(kBackupFolder) + L"\\";
        if (!DirectoryExists(store)) CreateFolderUnchecked(store);
        heldFolders_.Hold(store);
        ReportTreeCopy(kBackupFolder,
                       CopyFolderTree(installerFolder_ + std::wstring(kBackupFolder),
                                      installFolder_ + std::wstring(kBackupFolder), RecordTreeFile()));
    }

    void CopyUpdater() {
        ReportTreeCopy(kUpdaterFolder, CopyFolderTree(installerFolder_ + std::wstring(kUpdaterFolder),
                                                      installFolder_, RecordTreeFile()));
        // A package on a read-only medium gives read-only copies; these two
        // are rewritten later and must stay writable.
        SetReadOnly(installFolder_ + std::wstring(kReleaseInfoFile), false);
        SetReadOnly(installFolder_ + std::wstring(kUpdaterConfigFile), false);
    }

    // Runs the chosen package's script from its own folder; false when it is
    // not run, so that its level is not recorded either. The install
    // folder's "backup" may hold packages the distribution did not bring (a
    // later update, or files any user of the PC put there), and the script
    // calls what its folder holds: a package folder that is not byte for
    // byte the distribution's package of the same name runs only on the
    // user's Yes, and one that cannot be checked and held never. Every file
    // of it is held against change from the check to the script's end.
    bool RunUpdateScript(const std::wstring& package) {
        const std::wstring script = package + L"\\" + std::wstring(kUpdateScript);
        // A package without its script cannot start it: the same error as a
        // start that failed, and nothing is started that may appear there
        // after this look.
        if (!FileExists(script)) {
            setup_log::Write(L"Install.cmd of " + package + L" not run: it does not exist");
            throw RunAndWaitError(script, ProgramResult{});
        }
        const HeldPackage held(package, installerFolder_ + std::wstring(kBackupFolder) + L"\\" + NameOf(package));
        switch (held.verdict()) {
            case PackageVerdict::Unverified:
                setup_log::Write(L"Install.cmd of " + package + L" not run: the package cannot be checked: " +
                                 held.reason());
                return SkipUpdateScript(package, L"пакет не удалось проверить, Install.cmd не запущен");
            case PackageVerdict::Foreign:
                setup_log::Write(L"Update package " + package + L" is not the distribution's own: " +
                                 held.reason());
                if (!RunForeignScript(package))
                    return SkipUpdateScript(package, L"пакет не из этого дистрибутива, Install.cmd не запущен");
                break;
            case PackageVerdict::Distribution:
                setup_log::Write(L"Update package " + package + L" is the distribution's own: " +
                                 std::to_wstring(held.files()) + L" files checked and held until its script ends");
                break;
        }
        ChangeCurrentFolder(package + L"\\");
        const ProgramResult run = RunAndWait(script, L"", SW_HIDE);
        if (!run.ended()) {
            setup_log::WriteFailure(run.error);
            throw RunAndWaitError(script, run);
        }
        const uint32_t code = run.exitCode;
        setup_log::Write(std::wstring(kUpdateScript) + L" of " + package + L" ended with exit code " +
                         std::to_wstring(code));
        ChangeCurrentFolder(installFolder_);
        // The package decides what its script's codes mean; the level is
        // still recorded, but a non-zero code is not passed over in silence.
        if (code != 0) {
            view_.AddLine(L"Пакет обновления <" + NameOf(package) + L">: " + std::wstring(kUpdateScript) +
                          L" завершился с кодом " + std::to_wstring(code));
            ++problems_;
        }
        return true;
    }

    // Asked with No as the default button: a hasty Enter must not run it.
    bool RunForeignScript(const std::wstring& package) {
        const bool run = view_.AskYesNo(
            L"Пакет обновления " + package + L" не совпадает с пакетом " + NameOf(package) +
                L" этого дистрибутива: в его каталоге есть другие или лишние файлы.\r\nИх мог положить туда "
                L"любой пользователь компьютера. Запускайте сценарий Install.cmd этого пакета, только если пакет "
                L"обновления установлен Вами.\r\nЗапустить сценарий?",
            YesNoCaptions::Platform, DefaultButton::No);
        setup_log::Write(run ? L"Install.cmd of " + package + L" run on the user's Yes"
                             : L"Install.cmd of " + package + L" not run on the user's No");
        return run;
    }

    bool SkipUpdateScript(const std::wstring& package, std::wstring_view why) {
        view_.AddLine(L"Пакет обновления <" + NameOf(package) + L">: " + std::wstring(why) +
                      L"; уровень обновления не записан");
        setup_log::Write(L"Release level not recorded");
        ++problems_;
        return false;
    }

    void CreateDesktopShortcut() {
        const ShortcutNames& names = request_.shortcut;
        std::wstring link;
        CreateShortcut(installFolder_ + names.target, ShortcutPlace::Desktop, L"", L"", L"", names.description,
                       names.name, link);
        setup_log::Write(link.empty() ? std::wstring(L"Shortcut not made: no desktop folder")
                                      : L"Shortcut: " + link);
    }

    // Each copied file's source is hashed on the second thread while the
    // copy goes on; the rest are listed with why they were left.
    TreeFileSink RecordTreeFile() {
        if (!record_) return {};
        return [this](const std::wstring& source, const std::wstring& installed, TreeFileOutcome outcome) {
            switch (outcome) {
                case TreeFileOutcome::Copied:
                    return record_->AddCopy(source, installed);
                case TreeFileOutcome::Kept:
                    return record_->AddLeftOut(installed, L"оставлен: файл только для чтения или скрытый");
                case TreeFileOutcome::NotCopied:
                    return record_->AddLeftOut(installed, L"не скопирован (см. журнал установки)");
                case TreeFileOutcome::PassedOver:
                    return record_->AddLeftOut(installed, L"пропущен: ссылка (junction или symbolic link)");
            }
        };
    }

    // The record is an addition to the installation: when it cannot be
    // kept, the installation goes on without it and the setup log says why.
    void StartRecord() {
        started_ = Now();
        if (!request_.keepRecord) return;
        try {
            record_.emplace(installFolder_);
        } catch (const Error& e) {
            setup_log::Write(L"Installation record not kept: " + e.text());
        }
    }

    template <typename Change>
    void Record(Change change) {
        if (record_) change(*record_);
    }

    // Every file of the install folder, by its full path, sorted.
    std::vector<std::wstring> InstalledFiles() const {
        std::vector<std::wstring> files;
        const std::wstring folder = installFolder_.substr(0, installFolder_.size() - 1);
        ForEachTreeFile(folder, [&](const std::wstring& relative) { files.push_back(installFolder_ + relative); });
        std::sort(files.begin(), files.end());
        return files;
    }

    // Reads every copied file back and compares it with the distribution
    // before the update script may change any: that proves the copy. Each
    // difference is named in the setup log; the install folder's files are
    // noted, to tell later what the script added.
    void VerifyCopies() {
        if (!record_) return;
        verification_ = record_->Verify();
        for (const std::wstring& difference : verification_.differences)
            setup_log::Write(L"Installed file differs from the distribution: " + difference);
        filesBeforeUpdate_ = InstalledFiles();
    }

    // What the update script changed, removed and added is its own doing,
    // recorded as such and named in the setup log.
    void NoteUpdateChanges(const std::wstring& update) {
        if (!record_) return;
        std::vector<std::wstring> added;
        for (const std::wstring& file : InstalledFiles())
            if (!std::binary_search(filesBeforeUpdate_.begin(), filesBeforeUpdate_.end(), file))
                added.push_back(file);
        changedByUpdate_ = record_->NoteUpdate(update, added);
        setup_log::Write(L"Update script " + update + L": installed files changed or removed: " +
                         std::to_wstring(changedByUpdate_) + L", files added: " + std::to_wstring(added.size()));
    }

    // Files the record in the settings folder and says on one line how the
    // read-back went.
    void FileRecord(const std::wstring& level) {
        if (!record_) return;
        const int line = view_.AddLine(L"Проверка установленных файлов....");
        view_.Refresh();
        const RecordVerification& verification = verification_;
        const RecordHeader header{request_.installerVersion,
                                  level,
                                  installerFolder_,
                                  installFolder_,
                                  WindowsVersion(),
                                  UserName(),
                                  Elevation(),
                                  started_,
                                  Now()};
        // Each of the record's files is written whole or not at all; a
        // failure goes into the setup log.
        const auto write = [this](const wchar_t* extension, const std::string& bytes, const std::wstring& what) {
            const std::wstring path =
                installFolder_ + std::wstring(kSettingsFolder) + RecordFileName(started_, extension);
            try {
                WriteWholeFileAtomically(Guarded(path), bytes.data(), bytes.size());
                setup_log::Write(what + L": " + path);
                return true;
            } catch (const Error& e) {
                setup_log::Write(what + L" not written: " + e.text());
                return false;
            }
        };
        const bool filed = write(L"txt", record_->FileBytes(header), L"Installation record");
        // The page to print is a view of the record: without it the record
        // still stands.
        write(L"html", record_->PageBytes(header), L"Installation record page");
        // Short: the progress list does not scroll sideways, and its last
        // words are the verdict.
        const std::wstring counts = std::to_wstring(verification.verified);
        if (verification.different == 0 && filed) {
            view_.AppendToLine(line, std::wstring(kDone) + L": файлов " + counts + L", отличий нет" +
                                         (changedByUpdate_ == 0
                                              ? L""
                                              : L"; изменено обновлением: " + std::to_wstring(changedByUpdate_)));
            return;
        }
        view_.AppendToLine(line, std::wstring(kFailed) + L" Файлов " + counts + L", отличаются: " +
                                     std::to_wstring(verification.different) +
                                     (filed ? L"" : L"; протокол не записан"));
        ++problems_;
    }

    // target, after checking that no folder on the way to it, nor target
    // itself, has become a link since the preflight.
    const std::wstring& Guarded(const std::wstring& target) const {
        RefuseLinkOnTheWay(installFolder_, target);
        return target;
    }

    InstallOutcome EndedEarly() {
        setup_log::Write(L"Installation ended early on the failure shown on screen");
        return InstallOutcome::EndedEarly;
    }

    // Creates a missing folder and says so with created; a folder that
    // cannot be made is reported with failed, in a box and as a line.
    bool CreateFolderOrReport(const std::wstring& folder, std::wstring_view failed, std::wstring_view created) {
        if (DirectoryExists(folder)) return true;
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            const DWORD code = GetLastError();
            setup_log::WriteError(L"Folder not created: " + folder, code);
            view_.ShowErrorBox(failed);
            view_.AddLine(failed);
            return false;
        }
        view_.AddLine(created);
        view_.Refresh();
        return true;
    }

    InstallView& view_;
    const InstallRequest& request_;
    const std::wstring& installFolder_;
    const std::wstring installerFolder_;
    const FileCopy copy_;
    LocalDateTime started_;
    std::optional<InstallationRecord> record_;
    RecordVerification verification_;              // of the copies, before the update script
    std::vector<std::wstring> filesBeforeUpdate_;  // the install folder's, sorted
    int changedByUpdate_ = 0;
    HeldFolders heldFolders_;
    int problems_ = 0;  // failures shown on screen that did not end the installation
};

}  // namespace

InstallOutcome RunInstallation(InstallView& view, const InstallRequest& request, std::wstring_view installerFolder,
                               FileCopy copy) {
    return Installation(view, request, installerFolder, copy).Run();
}
