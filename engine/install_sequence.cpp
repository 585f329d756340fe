#include "engine/install_sequence.h"

#include <windows.h>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "engine/Shortcut.h"
#include "engine/counter_file.h"
#include "engine/deployment_manifest.h"
#include "engine/fonts.h"
#include "engine/ini_file.h"
#include "engine/package_choice.h"
#include "engine/process_runner.h"
#include "engine/release_info.h"

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

// Whether the copy will open path: it reads it without sharing.
bool CanReadAlone(const std::wstring& path) {
    return static_cast<bool>(
        ScopedHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
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

class Installation {
public:
    Installation(InstallView& view, std::wstring_view installerFolder, FileCopy copy)
        : view_(view), from_(installerFolder), copy_(copy) {}

    void Run() {
        Prepare();
        if (!CreateInstallFolder()) return;
        WriteSettingsFile();
        if (!DeployFiles()) return;
        InstallPackageFonts();
        InstallDriver();
        CopyUpdatePackages();
        CopyUpdater();
        const std::wstring package = RunUpdateScript();
        SetReleaseLevel(to_, NameOf(package).substr(1));
        CreateDesktopShortcut();
        view_.EnableExit();
        Finish();
    }

private:
    void Prepare() {
        to_ = TrimControl(view_.InstallFolderText());
        windowsChoice_ = view_.WindowsChoice();
        driverChosen_ = view_.DriverChosen();
        alternativeBrand_ = view_.AlternativeBrand();
        view_.ShowProgressPage();
        view_.Refresh();
    }

    bool CreateInstallFolder() {
        if (DirectoryExists(to_)) return true;
        if (!CreateDirectoryW(to_.c_str(), nullptr)) return Fail(L"Ошибка при создании каталога!");
        view_.AddLine(L"Каталог создан...");
        view_.Refresh();
        return true;
    }

    void WriteSettingsFile() {
        IniFile settings(to_ + std::wstring(kSettingsFolder) + std::wstring(kSettingsFile));
        settings.WriteInteger(L"options", L"FilterType", 0);
        settings.WriteInteger(L"options", L"HardwareType", 1);
        settings.UpdateFile();
    }

    // The block during which the window may not close.
    bool DeployFiles() {
        BusyState busy(view_);
        AddSettingsLine();
        if (!CreateDatabaseFolder()) return false;
        const std::wstring database(std::wstring(kDatabaseFolder) + std::wstring(kDatabaseFile));
        KeepOldDatabase(from_ + database);
        if (!CopyWithLine(kDatabaseFile, from_ + database, to_ + database)) return false;
        for (const CopyGroup& group : CopyGroups(windowsChoice_))
            if (!CopyGroupFiles(group)) return false;
        WriteCounterFileWhenMissing();
        WriteBrandFile();
        return true;
    }

    void AddSettingsLine() {
        view_.Refresh();
        const int line = view_.AddLine(L"Создание настроечных файлов....");
        view_.Refresh();
        EnsureDirectory(to_ + std::wstring(kSettingsFolder));
        view_.AppendToLine(line, kDone);
    }

    bool CreateDatabaseFolder() {
        const std::wstring folder = to_ + std::wstring(kDatabaseFolder);
        if (DirectoryExists(folder)) return true;
        if (!CreateDirectoryW(folder.c_str(), nullptr)) return Fail(L"Ошибка при создании каталога <DTAfb>!");
        view_.AddLine(L"Каталог <DTAfb> создан...");
        view_.Refresh();
        return true;
    }

    // A reinstallation must not destroy the clinic's data: the database in
    // place is renamed beside itself before the package's copy is written.
    // While the package's database cannot be read (missing, held open) it
    // stays in its place: the copy then ends the installation with its open
    // error and nothing has moved.
    void KeepOldDatabase(const std::wstring& packageDatabase) {
        const std::wstring folder = to_ + std::wstring(kDatabaseFolder);
        const std::wstring current = folder + std::wstring(kDatabaseFile);
        if (!FileExists(current) || !CanReadAlone(packageDatabase)) return;
        const LocalDateTime now = Now();
        std::wstring name = DatabaseBackupName(now);
        for (int copy = 2; PathExists(folder + name); ++copy) name = DatabaseBackupName(now, copy);
        const std::wstring backup = folder + name;
        if (!MoveFileExW(current.c_str(), backup.c_str(), 0)) {
            // Mostly a program that has the database open: named as the
            // file the package's copy cannot replace.
            const DWORD code = GetLastError();
            throw Error(L"Cannot create file \"" + current + L"\". " + SystemErrorText(code));
        }
        view_.AddLine(L"Сохранена копия базы данных: " + name);
    }

    bool CopyGroupFiles(const CopyGroup& group) {
        const std::wstring destination = to_ + std::wstring(group.destinationFolder);
        if (!DirectoryExists(destination)) CreateDirectoryW(destination.c_str(), nullptr);
        for (std::wstring_view name : group.files) {
            const bool copied = CopyWithLine(name, from_ + std::wstring(group.sourceFolder) + std::wstring(name),
                                             destination + std::wstring(name));
            if (!copied && group.stopsOnFailure) return false;
        }
        return true;
    }

    // One file with its progress line; the line gets the outcome appended.
    bool CopyWithLine(std::wstring_view name, const std::wstring& source, const std::wstring& destination) {
        const int line = view_.AddLine(L"Копирование файла " + std::wstring(name) + L"....");
        view_.Refresh();
        const bool copied = copy_(source, destination);
        view_.AppendToLine(line, copied ? kDone : kFailed);
        return copied;
    }

    void WriteCounterFileWhenMissing() {
        const std::wstring settings = to_ + std::wstring(kSettingsFolder);
        const std::wstring counter = settings + std::wstring(kCounterFile);
        if (DirectoryExists(settings) && !PathExists(counter)) WriteCounterFile(counter, Now());
    }

    void WriteBrandFile() {
        if (!alternativeBrand_) return;
        IniFile brand(to_ + std::wstring(kBrandFile));
        brand.WriteString(L"Common", L"Disk", L"I");
        brand.UpdateFile();
    }

    // Fonts already in the system are left alone; a font that cannot be
    // installed ends the fonts but not the installation.
    void InstallPackageFonts() {
        try {
            InstallFonts(from_, [this](std::wstring_view line) { view_.AddLine(line); });
        } catch (const std::exception&) {
        }
    }

    void InstallDriver() {
        // The question names the "Yes" button, so the box shows that word.
        if (!driverChosen_ ||
            !view_.AskYesNo(L"Подключите интерфейсный блок и нажмите \"Yes\"?", YesNoCaptions::English))
            return;
        const std::wstring folder(kDriverFolder);
        if (DirectoryExists(from_ + folder)) ShellCopyFolder(from_ + folder, to_ + folder);
        view_.AddLine(L"Началась установка драйверов устройства...");
        // No message is processed until the driver installer ends.
        view_.RepaintLog();
        // Quoted: an install folder with blanks must not start another program.
        StartProgram(L"\"" + to_ + std::wstring(kDriverProgram) + L"\"", SW_HIDE, true);
        view_.AddLine(L"Установка драйверов устройства завершена");
    }

    void CopyUpdatePackages() {
        // Names compare without regard to case: an existing "Backup" is used.
        if (!DirectoryExists(to_ + L"Backup\\")) CreateDirectoryW((to_ + L"backup\\").c_str(), nullptr);
        CopyFolderTree(from_ + std::wstring(kBackupFolder), to_ + std::wstring(kBackupFolder));
    }

    void CopyUpdater() {
        CopyFolderTree(from_ + std::wstring(kUpdaterFolder), to_);
        // A package on a read-only medium gives read-only copies; these two
        // are rewritten later and must stay writable.
        SetReadOnly(to_ + std::wstring(kReleaseInfoFile), false);
        SetReadOnly(to_ + std::wstring(kUpdaterConfigFile), false);
    }

    // Runs the newest update package's script from its own folder; returns
    // that folder.
    std::wstring RunUpdateScript() {
        const std::wstring package = FindNewestPackage(to_);
        SetCurrentDirectoryW((package + L"\\").c_str());
        RunAndWait(package + L"\\Install.cmd", L"", SW_HIDE);
        SetCurrentDirectoryW(to_.c_str());
        return package;
    }

    void CreateDesktopShortcut() {
        const std::wstring name = view_.ResourceString(1);
        std::wstring link;
        CreateShortcut(to_ + view_.ResourceString(4), ShortcutPlace::Desktop, L"", L"", L"",
                       view_.ResourceString(2) + L" \"" + name + L"\"", name, link);
    }

    void Finish() {
        if (view_.OfferLargeFonts()) return;
        if (view_.AskYesNo(L"Установка завершена. Выйти из программы установки?", YesNoCaptions::Platform))
            view_.CloseWindow();
    }

    // Reports a folder that cannot be made, in a box and as a line.
    bool Fail(std::wstring_view text) {
        view_.ShowErrorBox(text);
        view_.AddLine(text);
        return false;
    }

    InstallView& view_;
    const std::wstring from_;
    const FileCopy copy_;
    std::wstring to_;
    int windowsChoice_ = 0;
    bool driverChosen_ = false;
    bool alternativeBrand_ = false;
};

}  // namespace

void RunInstallation(InstallView& view, std::wstring_view installerFolder, FileCopy copy) {
    Installation(view, installerFolder, copy).Run();
}
