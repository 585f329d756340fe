#include "engine/install_plan.h"

#include <algorithm>

#include "base/file_system.h"
#include "base/package_names.h"
#include "base/strings.h"
#include "engine/deployment_manifest.h"
#include "engine/fonts.h"
#include "engine/removal_program.h"

namespace {

// What the session is held for, step by step, from the first file written
// until the release level is recorded.
constexpr std::wstring_view kWritingFiles = L"writing the settings and the package's files";
constexpr std::wstring_view kInstallingFonts = L"installing the fonts";
constexpr std::wstring_view kInstallingDriver = L"installing the driver";
constexpr std::wstring_view kCopyingUpdates = L"copying the update packages and the updater";
constexpr std::wstring_view kRunningScript = L"running the update script";
constexpr std::wstring_view kRecordingLevel = L"recording the release level";

class PlanBuilder {
public:
    PlanBuilder(const InstallRequest& request, std::wstring_view installerFolder, std::wstring_view fontsFolder)
        : request_(request), from_(installerFolder), to_(request.installFolder), fonts_(fontsFolder) {}

    InstallPlan Build() {
        Add({.kind = StepKind::CreateFolder,
             .onFailure = OnFailure::EndsPass,
             .folder = to_,
             .progress = L"Каталог создан...",
             .failure = L"Ошибка при создании каталога!",
             .heldOpen = {to_, In(kSettingsFolder)}});
        Add({.kind = StepKind::SettingsFile,
             .holds = kWritingFiles,
             .onFailure = OnFailure::Raises,
             .folder = In(kSettingsFolder),
             .writes = {JoinPath(In(kSettingsFolder), kSettingsFile)}});
        Add({.kind = StepKind::SettingsFolder,
             .holds = kWritingFiles,
             .busy = true,
             .folder = In(kSettingsFolder),
             .progress = L"Создание настроечных файлов...."});
        Add({.kind = StepKind::CreateFolder,
             .holds = kWritingFiles,
             .busy = true,
             .onFailure = OnFailure::EndsPass,
             .folder = In(kDatabaseFolder),
             .progress = L"Каталог <DTAfb> создан...",
             .failure = L"Ошибка при создании каталога <DTAfb>!",
             .heldOpen = {In(kDatabaseFolder)}});
        AddDatabase();
        for (const CopyGroup& group : CopyGroups(request_.runtime)) AddFileGroup(group);
        Add({.kind = StepKind::CounterFile,
             .holds = kWritingFiles,
             .busy = true,
             .folder = In(kSettingsFolder),
             .writes = {JoinPath(In(kSettingsFolder), kCounterFile)}});
        if (request_.alternativeBrand)
            Add({.kind = StepKind::BrandFile,
                 .holds = kWritingFiles,
                 .busy = true,
                 .onFailure = OnFailure::Raises,
                 .folder = to_,
                 .writes = {In(kBrandFile)}});
        AddFonts();
        AddDriver();
        AddTree(kBackupFolder, In(kBackupFolder), {});
        plan_.back().heldOpen = {In(kBackupFolder)};
        AddTree(kUpdaterFolder, to_, {In(kReleaseInfoFile), In(kUpdaterConfigFile)});
        Add({.kind = StepKind::ReadBack, .holds = kCopyingUpdates});
        Add({.kind = StepKind::UpdateScript, .holds = kRunningScript, .onFailure = OnFailure::Raises});
        Add({.kind = StepKind::ReleaseLevel,
             .holds = kRecordingLevel,
             .onFailure = OnFailure::Raises,
             .folder = to_,
             .writes = {In(kReleaseInfoFile)},
             .afterPrevious = true});
        Add({.kind = StepKind::Shortcut, .onFailure = OnFailure::Raises});
        Add({.kind = StepKind::Verification, .progress = L"Проверка установленных файлов...."});
        // After the record: the entry's size is the recorded files'.
        if (!request_.installerProgram.empty())
            Add({.kind = StepKind::Registration,
                 .onFailure = OnFailure::Counted,
                 .folder = to_,
                 .copies = {{request_.installerProgram, RemovalProgramPath(to_)}},
                 .progress = L"Регистрация в списке установленных программ...."});
        return std::move(plan_);
    }

private:
    std::wstring In(std::wstring_view name) const { return JoinPath(to_, name); }
    std::wstring From(std::wstring_view name) const { return JoinPath(from_, name); }

    void Add(PlanStep step) { plan_.push_back(std::move(step)); }

    // Copied over the live name only once whole: a reinstallation keeps the
    // clinic's database beside it, or as it is when asked to.
    void AddDatabase() {
        const std::wstring database = JoinPath(kDatabaseFolder, kDatabaseFile);
        Add({.kind = StepKind::Database,
             .holds = kWritingFiles,
             .busy = true,
             .onFailure = OnFailure::EndsPass,
             .folder = In(kDatabaseFolder),
             .copies = {{From(database), In(database)}},
             .progress = std::wstring(kDatabaseFile),
             .keepsExisting = request_.database == DatabaseChoice::KeepExisting});
    }

    void AddFileGroup(const CopyGroup& group) {
        PlanStep step{.kind = StepKind::FileGroup,
                      .holds = kWritingFiles,
                      .busy = true,
                      .onFailure = group.stopsOnFailure ? OnFailure::EndsPass : OnFailure::Counted,
                      .folder = In(group.destinationFolder)};
        for (std::wstring_view name : group.files)
            step.copies.push_back({JoinPath(From(group.sourceFolder), name), JoinPath(step.folder, name)});
        Add(std::move(step));
    }

    // Fonts already in the system are left alone; a font that cannot be
    // installed ends the fonts but not the installation.
    void AddFonts() {
        PlanStep step{.kind = StepKind::Fonts, .holds = kInstallingFonts};
        const std::wstring source = PackageFontsFolder(from_);
        for (const wchar_t* name : FontFiles())
            step.copies.push_back({JoinPath(source, name), JoinPath(fonts_, name)});
        Add(std::move(step));
    }

    // Without the driver chosen the step only holds the session: nothing is
    // copied and nobody is asked.
    void AddDriver() {
        PlanStep step{.kind = StepKind::Driver, .holds = kInstallingDriver, .onFailure = OnFailure::Counted};
        if (request_.driver) {
            step.folder = In(kDriverFolder);
            step.copies = {{From(kDriverFolder), step.folder}};
            step.progress = L"Началась установка драйверов устройства...";
        }
        Add(std::move(step));
    }

    // The destination is made first when missing (names compare without
    // regard to case: an existing "Backup" is used). writable are rewritten
    // later and must not stay read-only as a package on a read-only medium
    // gives them.
    void AddTree(std::wstring_view name, std::wstring destination, std::vector<std::wstring> writable) {
        Add({.kind = StepKind::CopyTree,
             .holds = kCopyingUpdates,
             .onFailure = OnFailure::Counted,
             .folder = destination,
             .copies = {{From(name), destination}},
             .writes = std::move(writable),
             .progress = std::wstring(name)});
    }

    const InstallRequest& request_;
    const std::wstring from_;
    const std::wstring to_;
    const std::wstring fonts_;
    InstallPlan plan_;
};

}  // namespace

InstallPlan BuildInstallPlan(const InstallRequest& request, std::wstring_view installerFolder,
                             std::wstring_view fontsFolder) {
    return PlanBuilder(request, installerFolder, fontsFolder).Build();
}

bool KeepsItsDestination(const PlanStep& step) {
    return step.keepsExisting && !step.copies.empty() && FileExists(step.copies.front().destination);
}

std::vector<std::wstring> FoldersWrittenThrough(const InstallPlan& plan) {
    std::vector<std::wstring> folders;
    for (const PlanStep& step : plan) {
        if (step.folder.empty()) continue;
        if (std::find(folders.begin(), folders.end(), step.folder) == folders.end())
            folders.push_back(step.folder);
    }
    return folders;
}
