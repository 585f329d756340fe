// The checks "Начать установку" makes before anything is written: a volume
// without room for the package (on the small file system the test run
// mounts, VH_SMALL_DISK; without one those cases skip) and a process
// without the rights that the fonts and the driver need.
#include <windows.h>

#include "base/setup_log.h"
#include "engine/preflight.h"
#include "engine/system_rights.h"
#include "tests/kit/small_disk.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

constexpr uint64_t kMiB = 1 << 20;
// What the small disk's file system allocates a file in.
constexpr uint64_t kPage = 4096;

const std::wstring kRightsQuestion =
    L"Шрифты и драйвер устройства не могут быть установлены без прав администратора.\r\n"
    L"Чтобы установить их, запустите программу установки от имени администратора.\r\nПродолжить установку?";

bool RightsGranted() {
    return true;
}
bool RightsMissing() {
    return false;
}

// Every file and folder below folder as "<relative path> <size>", so a
// test can show that nothing was added, removed or changed in size.
void ListTree(const std::wstring& folder, const std::wstring& relative, std::vector<std::wstring>& listing) {
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((folder + relative + L"*").c_str(), &entry));
    if (!find) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listing.push_back(relative + name + L"\\");
            ListTree(folder, relative + name + L"\\", listing);
        } else {
            listing.push_back(relative + name + L" " + std::to_wstring(entry.nFileSizeLow));
        }
    } while (FindNextFileW(find.get(), &entry));
}
std::vector<std::wstring> Listing(const std::wstring& folder) {
    std::vector<std::wstring> listing;
    ListTree(folder, L"", listing);
    std::sort(listing.begin(), listing.end());
    return listing;
}

// Whether an installation with the modern runtime writes the package file
// at relative to the install folder's disk: not the fonts (they go to the
// system's fonts folder), nor the two files only the Windows XP runtime takes.
bool GoesToInstallDisk(const std::wstring& relative) {
    for (const wchar_t* elsewhere : {L"fonts\\", L"Firebird\\msvcp71.Dll", L"Firebird\\msvcr71.Dll"})
        if (relative.rfind(elsewhere, 0) == 0) return false;
    return true;
}

// The bytes, each file in whole pages, that the installation from the
// package in folder writes to the install folder's disk.
uint64_t InstalledPackageBytes(const std::wstring& folder) {
    uint64_t bytes = 0;
    for (const std::wstring& line : Listing(folder)) {
        if (line.back() == L'\\' || !GoesToInstallDisk(line)) continue;
        const uint64_t size = std::stoull(line.substr(line.rfind(L' ') + 1));
        bytes += (size + kPage - 1) / kPage * kPage;
    }
    return bytes;
}

uint64_t AvailableBytes(const std::wstring& folder) {
    ULARGE_INTEGER available{};
    EXPECT_TRUE(GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr));
    return available.QuadPart;
}

// A setup log of the test's own in folder, for the time the object lives.
class SetupLogCapture {
public:
    explicit SetupLogCapture(const std::wstring& folder) { EXPECT_TRUE(setup_log::Open(folder)); }
    ~SetupLogCapture() { setup_log::Close(); }
    SetupLogCapture(const SetupLogCapture&) = delete;
    SetupLogCapture& operator=(const SetupLogCapture&) = delete;

    // The events written so far, without their time stamps
    // ("YYYY-MM-DD HH:MM:SS.mmm  ").
    std::vector<std::wstring> Events() const {
        const std::wstring text = FromUtf8(ReadFileBytes(setup_log::Path()));
        std::vector<std::wstring> events;
        for (size_t start = text.find(L"  "); start != std::wstring::npos; start = text.find(L"  ", start)) {
            start += 2;
            const size_t end = text.find(L"\r\n", start);
            events.push_back(text.substr(start, end - start));
            start = end;
        }
        return events;
    }

    // The last event that begins with prefix; empty when none does.
    std::wstring LastEvent(const std::wstring& prefix = L"") const {
        const std::vector<std::wstring> events = Events();
        for (auto event = events.rbegin(); event != events.rend(); ++event)
            if (event->rfind(prefix, 0) == 0) return *event;
        return L"";
    }
};

class SmallDiskPreflight : public SmallDiskTest {};

TEST_F(SmallDiskPreflight, APackageLargerThanTheDiskIsRefusedBeforeAnythingIsWritten) {
    PackageOptions options;
    options.databaseSize = 12 * kMiB;
    Build(options);
    // The whole package but its fonts, into a folder where none of it is
    // yet (the clinic's database is kept beside the new one, so it gives no
    // room back), and one mebibyte to spare; MB rounded up.
    const uint64_t neededBytes = InstalledPackageBytes(package_);
    const uint64_t neededMiB = (neededBytes + kMiB + kMiB - 1) / kMiB;
    const std::vector<std::wstring> clinicFolder = Listing(install_);
    const SetupLogCapture log(temp_.path());

    // The clinic's own folder, and one whose parent the folder page could
    // not create: both measured on the small disk, neither changed.
    for (const std::wstring& folder : {install_, disk_ + L"New\\Holter\\"}) {
        SCOPED_TRACE(folder);
        request_.installFolder = folder;
        view_.events.clear();
        const uint64_t availableMiB = AvailableBytes(disk_) / kMiB;
        EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted), PreflightVerdict::NoRoom);
        // The volume is the one mounted on the small disk's folder.
        EXPECT_EQ(view_.events, std::vector<std::wstring>{L"error box: Недостаточно места на диске " + disk_ +
                                                          L" для установки программы!\r\nТребуется " +
                                                          std::to_wstring(neededMiB) + L" МБ, доступно " +
                                                          std::to_wstring(availableMiB) + L" МБ."});
        EXPECT_TRUE(view_.lines.empty());
        EXPECT_EQ(log.LastEvent(L"Free space on " + disk_),
                  L"Free space on " + disk_ + L": " + std::to_wstring(neededBytes) +
                      L" bytes to write + 1048576 bytes margin, " + std::to_wstring(AvailableBytes(disk_)) +
                      L" bytes available to this user: too little");
        EXPECT_EQ(log.LastEvent(), L"Installation not started: too little free space on " + disk_);
    }
    EXPECT_EQ(Listing(install_), clinicFolder);
    ExpectNothingLost(Database::InPlace, kClinicSettings);
    EXPECT_FALSE(PathExists(disk_ + L"New")) << "no folder is made on the way";
}

TEST_F(SmallDiskPreflight, APackageThatFitsTheDiskRunsThrough) {
    PackageOptions options;
    options.databaseSize = 2 * kMiB;
    Build(options);
    EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted), PreflightVerdict::Go);
    EXPECT_TRUE(view_.events.empty()) << "no box when the room is there";
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_EQ(view_.events, kEventsOfAWholeRun);
    ExpectNothingLost(Database::KeptAside);
    EXPECT_EQ(ReadFileBytes(install_ + L"DTAfb\\V12.FDB").size(), 2 * kMiB);
}

class Preflight : public FaultTest {};

// The package that did not fit the small disk, on the roomy disk of the
// temporary folder.
TEST_F(Preflight, APackageLargerThanASmallDiskRunsThroughWhereThereIsRoom) {
    PackageOptions options;
    options.databaseSize = 12 * kMiB;
    Build(options);
    EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted), PreflightVerdict::Go);
    EXPECT_TRUE(view_.events.empty());
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_EQ(view_.events, kEventsOfAWholeRun);
    ExpectNothingLost(Database::KeptAside);
}

// Wine grants every user the administrator's rights, so the probe's answer
// comes from the test here.
TEST_F(Preflight, WithoutRightsNoStopsBeforeAnythingIsWrittenAndYesInstallsAsBefore) {
    Build();
    const std::vector<std::wstring> clinicFolder = Listing(install_);

    view_.answer = false;
    {
        const SetupLogCapture log(temp_.path());
        EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsMissing), PreflightVerdict::NoRights);
        std::vector<std::wstring> events = log.Events();
        ASSERT_GE(events.size(), 3u);
        EXPECT_EQ(events[0].rfind(L"Free space on ", 0), 0u) << events[0];
        EXPECT_TRUE(events[0].ends_with(L" bytes available to this user: enough")) << events[0];
        events.erase(events.begin(), events.end() - 2);
        EXPECT_EQ(events, (std::vector<std::wstring>{
                              L"Rights: without administrator rights the fonts and the driver cannot be installed",
                              L"Installation not started: no rights"}));
    }
    EXPECT_EQ(view_.events, std::vector<std::wstring>{L"ask: " + kRightsQuestion});
    EXPECT_EQ(Listing(install_), clinicFolder);
    ExpectNothingLost(Database::InPlace, kClinicSettings);

    ResetView();
    view_.answer = true;
    EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsMissing), PreflightVerdict::Go);
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_EQ(view_.events, std::vector<std::wstring>{L"ask: " + kRightsQuestion} + kEventsOfAWholeRun);
    EXPECT_EQ(Lines(), DeploymentLines(Database::KeptAside) + kDriverLines);
    ExpectNothingLost(Database::KeptAside);
}

TEST_F(Preflight, WithRightsNothingIsAsked) {
    Build();
    const SetupLogCapture log(temp_.path());
    EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted), PreflightVerdict::Go);
    EXPECT_TRUE(view_.events.empty());
    EXPECT_EQ(log.LastEvent(), L"Rights: the fonts and the driver can be installed");
}

// The real probe, on targets of the test's own: a fonts folder and a key it
// may write, then each of them missing.
TEST_F(Preflight, TheRightsProbeFindsAFontsFolderOrKeyItCannotWrite) {
    const std::wstring fonts = temp_ / L"Fonts\\";
    MakeFolder(fonts);
    const std::wstring key = L"Software\\VelmoraSetupTests";
    ScopedRegKey created;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              created.receive(), nullptr),
              ERROR_SUCCESS);
    struct Case {
        FontTargets targets;
        bool canInstall;
    } cases[] = {
        {{fonts, HKEY_CURRENT_USER, key}, true},
        {{temp_ / L"NoFonts\\", HKEY_CURRENT_USER, key}, false},
        {{fonts, HKEY_CURRENT_USER, key + L"\\Missing"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CanInstallFontsInto(c.targets), c.canInstall)
            << c.targets.fontsFolder << " " << c.targets.registryKey;
        EXPECT_EQ(FilesMatching(fonts, L"*"), (std::vector<std::wstring>{L".", L".."}))
            << "the probe file is gone";
    }
    created.reset();
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
}  // namespace faults
