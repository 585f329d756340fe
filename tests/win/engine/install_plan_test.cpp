// The installation plan: its steps for the documented choices, and the
// preflight's space figure against what the pass really copies.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/fonts.h"
#include "engine/install_plan.h"
#include "engine/install_space.h"
#include "engine/space_rules.h"
#include "engine/tree_walk.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/recording_view.h"
#include "tests/kit/temp_folder.h"

namespace {

const std::wstring kPackage = L"P:\\package";
const std::wstring kInstall = L"C:\\Holter";
const std::wstring kFonts = L"C:\\windows\\fonts";

// A folder as its tag, a path inside it as the tag and its path there.
std::wstring Short(std::wstring path) {
    for (const auto& [folder, name] : {std::pair{kPackage, L"<P>"}, {kInstall, L"<I>"}, {kFonts, L"<F>"}}) {
        if (path == folder) return name;
        if (path.rfind(folder + L"\\", 0) == 0) return name + path.substr(folder.size() + 1);
    }
    return path;
}

const wchar_t* KindName(StepKind kind) {
    constexpr const wchar_t* kNames[] = {
        L"folder", L"settings", L"settings line", L"database", L"files", L"counter",  L"brand",       L"fonts",
        L"driver", L"tree",     L"read back",     L"script",   L"level", L"shortcut", L"verification"};
    return kNames[static_cast<int>(kind)];
}

const wchar_t* PolicyName(OnFailure policy) {
    constexpr const wchar_t* kNames[] = {L"raises", L"ends", L"counted", L"goes on"};
    return kNames[static_cast<int>(policy)];
}

std::wstring Joined(const std::vector<std::wstring>& items, std::wstring_view between) {
    std::wstring text;
    for (const std::wstring& item : items) text += (text.empty() ? L"" : std::wstring(between)) + item;
    return text;
}

// One step on one line: kind, hold, busy, failure policy, folder, copies,
// written files, progress text and whether it waits for the step before.
std::wstring Describe(const PlanStep& step) {
    std::vector<std::wstring> copies, writes;
    for (const PlannedCopy& copy : step.copies)
        copies.push_back(Short(copy.source) + L">" + Short(copy.destination));
    for (const std::wstring& file : step.writes) writes.push_back(Short(file));
    return Joined({KindName(step.kind), std::wstring(step.holds), step.busy ? L"busy" : L"",
                   PolicyName(step.onFailure), Short(step.folder), Joined(copies, L" "), Joined(writes, L" "),
                   step.progress, step.afterPrevious ? L"after" : L""},
                  L"|");
}

std::vector<std::wstring> Describe(const InstallPlan& plan) {
    std::vector<std::wstring> lines;
    for (const PlanStep& step : plan) lines.push_back(Describe(step));
    return lines;
}

std::wstring Files(const std::wstring& from, const std::wstring& to, std::initializer_list<const wchar_t*> names) {
    std::vector<std::wstring> copies;
    for (const wchar_t* name : names) copies.push_back(L"<P>" + from + name + L">" + to + name);
    return Joined(copies, L" ");
}

const std::wstring kWriting = L"writing the settings and the package's files";
const std::wstring kCopying = L"copying the update packages and the updater";

const std::wstring kModernRuntime =
    L"files|" + kWriting + L"|busy|ends|<I>|" +
    Files(L"Firebird\\", L"<I>",
          {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll", L"icudt30.Dll", L"icuin30.Dll",
           L"icuuc30.Dll", L"msvcp80.Dll", L"msvcr80.Dll", L"firebird.msg", L"gbak.exe", L"gds32.dll"}) +
    L"|||";

// The default choices: the modern runtime, the driver chosen, the standard
// brand.
std::vector<std::wstring> DefaultPlan() {
    return {
        L"folder|||ends|<I>|||Каталог создан...|",
        L"settings|" + kWriting + L"||raises|<I>Settings||<I>Settings\\holter.ini||",
        L"settings line|" + kWriting + L"|busy|goes on|<I>Settings|||Создание настроечных файлов....|",
        L"folder|" + kWriting + L"|busy|ends|<I>DTAfb|||Каталог <DTAfb> создан...|",
        L"database|" + kWriting + L"|busy|ends|<I>DTAfb|<P>DTAfb\\V12.FDB><I>DTAfb\\V12.FDB||V12.FDB|",
        kModernRuntime,
        L"files|" + kWriting + L"|busy|ends|<I>intl|" +
            Files(L"Firebird\\intl\\", L"<I>intl\\", {L"fbintl.conf", L"fbintl.dll"}) + L"|||",
        L"files|" + kWriting + L"|busy|ends|<I>udf|" +
            Files(L"Firebird\\udf\\", L"<I>udf\\",
                  {L"fbudf.dll", L"ib_udf.dll", L"fbudf.sql", L"ib_udf.sql", L"ib_udf2.sql"}) +
            L"|||",
        L"files|" + kWriting + L"|busy|counted|<I>udf|" +
            Files(L"UDF\\", L"<I>udf\\", {L"Compare.Dll", L"PosStr.Dll", L"ProcessingECG.Dll", L"SDecision.Dll"}) +
            L"|||",
        L"counter|" + kWriting + L"|busy|goes on|<I>Settings||<I>Settings\\lastnum.dta||",
        L"fonts|installing the fonts||goes on||" +
            Files(L"fonts\\", L"<F>",
                  {L"ARIAL.TTF", L"ARIALN.TTF", L"COUR.TTF", L"MICROSS.TTF", L"TAHOMA.TTF", L"TIMES.TTF",
                   L"verdana.TTF"}) +
            L"|||",
        L"driver|installing the driver||counted|<I>FTDIDriverInstall|<P>FTDIDriverInstall><I>FTDIDriverInstall||"
        L"Началась установка драйверов устройства...|",
        L"tree|" + kCopying + L"||counted|<I>backup|<P>backup><I>backup||backup|",
        L"tree|" + kCopying + L"||counted|<I>|<P>Updater><I>|<I>ReleaseInfo <I>Updater.exe.cfg|Updater|",
        L"read back|" + kCopying + L"||goes on|||||",
        L"script|running the update script||raises|||||",
        L"level|recording the release level||raises|<I>||<I>ReleaseInfo||after",
        L"shortcut|||raises|||||",
        L"verification|||goes on||||Проверка установленных файлов....|",
    };
}

TEST(InstallPlan, StepsForTheDocumentedChoices) {
    InstallRequest request;
    request.installFolder = kInstall;
    request.driver = true;
    const std::vector<std::wstring> defaults = DefaultPlan();
    EXPECT_EQ(Describe(BuildInstallPlan(request, kPackage, kFonts)), defaults);

    // The Windows XP runtime: ten files, the 7.1 C runtime, no gbak, no gds32.
    request.runtime = RuntimeChoice::WindowsXp;
    std::vector<std::wstring> xp = defaults;
    xp[5] = L"files|" + kWriting + L"|busy|ends|<I>|" +
            Files(L"Firebird\\", L"<I>",
                  {L"aliases.conf", L"firebird.conf", L"fbclient.Dll", L"ib_util.Dll", L"icudt30.Dll",
                   L"icuin30.Dll", L"icuuc30.Dll", L"msvcp71.Dll", L"msvcr71.Dll", L"firebird.msg"}) +
            L"|||";
    EXPECT_EQ(Describe(BuildInstallPlan(request, kPackage, kFonts)), xp);

    // The alternative brand writes its file after the counter; without the
    // driver its step only holds the session.
    request.runtime = RuntimeChoice::Modern;
    request.alternativeBrand = true;
    request.driver = false;
    std::vector<std::wstring> brand = defaults;
    brand[11] = L"driver|installing the driver||counted|||||";
    brand.insert(brand.begin() + 10, L"brand|" + kWriting + L"|busy|raises|<I>||<I>btooth.ini||");
    EXPECT_EQ(Describe(BuildInstallPlan(request, kPackage, kFonts)), brand);
}

TEST(InstallPlan, FoldersWrittenThroughEachOnceWithoutDelimiter) {
    InstallRequest request;
    request.installFolder = kInstall;
    request.driver = true;
    EXPECT_EQ(FoldersWrittenThrough(BuildInstallPlan(request, kPackage, kFonts)),
              (std::vector<std::wstring>{L"C:\\Holter", L"C:\\Holter\\Settings", L"C:\\Holter\\DTAfb",
                                         L"C:\\Holter\\intl", L"C:\\Holter\\udf", L"C:\\Holter\\FTDIDriverInstall",
                                         L"C:\\Holter\\backup"}));
}

uint64_t ClusterSizeOf(const std::wstring& folder) {
    wchar_t volume[MAX_PATH + 1];
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetVolumePathNameW(folder.c_str(), volume, MAX_PATH + 1) ||
        !GetDiskFreeSpaceW(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return 4096;
    return uint64_t{sectorsPerCluster} * bytesPerSector;
}

bool Ends(const std::wstring& text, std::wstring_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The figure the preflight checks is what the pass then puts into a new
// install folder: every file there, in whole clusters, but those the pass
// writes itself from nothing (settings, counter, the installation record:
// the space margin's share) and the marks the update
// scripts leave when they run. (The driver's stand-in leaves its mark in the
// package, so a second pass copies it like any file of the driver folder.)
TEST(InstallPlan, SpaceFigureIsWhatThePassCopies) {
    ScopedCoInitialize com;
    TempFolder temp;
    const std::wstring package = temp / L"package\\";
    PackageOptions options;
    options.databaseSize = 3 * 1024 * 1024 + 17;
    BuildPackage(package, options);
    const std::wstring fonts = SystemFontTargets().fontsFolder;
    // A first pass installs the fonts, so the second's figure is for the
    // install folder's volume alone.
    for (const wchar_t* name : {L"First\\", L"Holter\\"}) {
        const std::wstring install = temp / name;
        CreateDirectoryW(install.c_str(), nullptr);
        CreateDirectoryW((install + L"Settings").c_str(), nullptr);
        const InstallRequest request = TestRequest(install, L"Velmora - Холтер (plan test)");
        const InstallPlan plan = BuildInstallPlan(request, package, fonts);
        const std::vector<VolumeSpace> volumes = MeasureInstallSpace(plan, install, fonts);
        RecordingView view;
        view.driverAnswer = true;
        RunRecorded(view, request, package);
        ASSERT_EQ(view.outcome, InstallOutcome::Completed);
        if (install != temp / L"Holter\\") continue;

        ASSERT_EQ(volumes.size(), 1u);
        const uint64_t cluster = ClusterSizeOf(install);
        uint64_t copied = 0;
        int files = 0;
        ForEachTreeFile(install.substr(0, install.size() - 1), [&](const std::wstring& relative) {
            if ((relative.rfind(L"backup\\", 0) == 0 && Ends(relative, L".done")) ||
                relative == L"Settings\\holter.ini" || relative == L"Settings\\lastnum.dta" ||
                relative.rfind(L"Settings\\VelmoraSetup record ", 0) == 0)
                return;
            WIN32_FILE_ATTRIBUTE_DATA data;
            ASSERT_TRUE(GetFileAttributesExW((install + relative).c_str(), GetFileExInfoStandard, &data));
            copied += AllocatedSize((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow, cluster);
            ++files;
        });
        EXPECT_GT(files, 30);
        EXPECT_EQ(volumes[0].needed, copied) << files << " files";
    }
}

}  // namespace
