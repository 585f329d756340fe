// The checks "Начать установку" makes before anything is written: a volume
// without room for the package (on the small file system the test run
// mounts, VH_SMALL_DISK; without one those cases skip) and a process
// without the rights that the fonts and the driver need.
#include <windows.h>

#include "engine/fonts.h"
#include "engine/preflight.h"
#include "engine/system_rights.h"
#include "tests/kit/setup_log_capture.h"
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
// What this PC would need the rights for, as the test says: a font is
// missing, and the driver when the request chooses it.
RightsNeeds FontsMissing(const InstallRequest& request) {
    return {true, request.driver, L""};
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
// system's fonts folder, given when it is on the same disk, and only those
// not yet there), nor the two files only the Windows XP runtime takes.
bool GoesToInstallDisk(const std::wstring& relative, const std::wstring& sameDiskFonts) {
    const std::wstring fonts = L"fonts\\";
    if (relative.rfind(fonts, 0) == 0)
        return !sameDiskFonts.empty() && !PathExists(JoinPath(sameDiskFonts, relative.substr(fonts.size())));
    for (const wchar_t* elsewhere : {L"Firebird\\msvcp71.Dll", L"Firebird\\msvcr71.Dll"})
        if (relative == elsewhere) return false;
    return true;
}

// The bytes, each file in whole pages, that the installation from the
// package in folder writes to the install folder's disk.
uint64_t InstalledPackageBytes(const std::wstring& folder, const std::wstring& sameDiskFonts = L"") {
    uint64_t bytes = 0;
    for (const std::wstring& line : Listing(folder)) {
        if (line.back() == L'\\') continue;
        const size_t blank = line.rfind(L' ');
        if (!GoesToInstallDisk(line.substr(0, blank), sameDiskFonts)) continue;
        const uint64_t size = std::stoull(line.substr(blank + 1));
        bytes += (size + kPage - 1) / kPage * kPage;
    }
    return bytes;
}

uint64_t AvailableBytes(const std::wstring& folder) {
    ULARGE_INTEGER available{};
    EXPECT_TRUE(GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr));
    return available.QuadPart;
}

// The error box for a volume without room: the space needed with the
// margin in MB rounded up, the space available rounded down.
std::wstring NoRoomBox(const std::wstring& volume, uint64_t neededBytes, uint64_t availableBytes) {
    return L"error box: Недостаточно места на диске " + volume + L" для установки программы!\r\nТребуется " +
           std::to_wstring((neededBytes + kMiB + kMiB - 1) / kMiB) + L" МБ, доступно " +
           std::to_wstring(availableBytes / kMiB) + L" МБ.";
}

// The setup log's line for a volume, with the verdict.
std::wstring SpaceLine(const std::wstring& volume, uint64_t neededBytes, uint64_t availableBytes,
                       const wchar_t* verdict) {
    return L"Free space on " + volume + L": " + std::to_wstring(neededBytes) +
           L" bytes to write + 1048576 bytes margin, " + std::to_wstring(availableBytes) +
           L" bytes available to this user: " + verdict;
}

class SmallDiskPreflight : public SmallDiskTest {
protected:
    SmallDiskPreflight() : SmallDiskTest("Preflight.OneByteTooLittleIsRefusedAndExactlyEnoughIsNot") {}
};

TEST_F(SmallDiskPreflight, APackageLargerThanTheDiskIsRefusedBeforeAnythingIsWritten) {
    PackageOptions options;
    options.databaseSize = 12 * kMiB;
    Build(options);
    // The whole package but its fonts, into a folder where none of it is
    // yet (the clinic's database is kept beside the new one, so it gives no
    // room back), and one mebibyte to spare; MB rounded up.
    const uint64_t neededBytes = InstalledPackageBytes(package_);
    const std::vector<std::wstring> clinicFolder = Listing(install_);
    const SetupLogCapture log;

    // The clinic's own folder, and one whose parent the folder page could
    // not create: both measured on the small disk, neither changed.
    for (const std::wstring& folder : {install_, disk_ + L"New\\Holter\\"}) {
        SCOPED_TRACE(folder);
        request_.installFolder = WithoutTrailingBackslash(folder);
        view_.events.clear();
        EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted), PreflightVerdict::NoRoom);
        // The volume is the one mounted on the small disk's folder.
        const uint64_t available = AvailableBytes(disk_);
        EXPECT_EQ(view_.events, std::vector<std::wstring>{NoRoomBox(disk_, neededBytes, available)});
        EXPECT_TRUE(view_.lines.empty());
        EXPECT_EQ(log.FindLast(L"Free space on " + disk_),
                  SpaceLine(disk_, neededBytes, available, L"too little"));
        EXPECT_EQ(log.FindLast(), L"Installation not started: too little free space on " + disk_);
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
        const SetupLogCapture log;
        EXPECT_EQ(
            CheckBeforeInstallation(view_, request_, package_, RightsMissing, FreeBytesForUser, FontsMissing),
            PreflightVerdict::NoRights);
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
    EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsMissing, FreeBytesForUser, FontsMissing),
              PreflightVerdict::Go);
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_EQ(view_.events, std::vector<std::wstring>{L"ask: " + kRightsQuestion} + kEventsOfAWholeRun);
    EXPECT_EQ(Lines(), DeploymentLines(Database::KeptAside) + kDriverLines + kReadBackLines);
    ExpectNothingLost(Database::KeptAside);
}

// Without the rights the question comes only when a step needs them, and
// names only those steps; unattended, only then does the run end 740.
TEST_F(Preflight, TheRightsQuestionOnlyWhenAStepNeedsTheRights) {
    Build();
    struct Case {
        const char* what;
        RightsNeedsProbe needs;
        std::wstring question;  // empty: not asked
    } const cases[] = {
        {"every font installed, the driver not chosen, the folder writable",
         [](const InstallRequest&) { return RightsNeeds{}; }, L""},
        {"only the driver",
         [](const InstallRequest&) {
             return RightsNeeds{false, true, L""};
         },
         L"Драйвер устройства не может быть установлен без прав администратора.\r\nЧтобы установить его, "
         L"запустите программу установки от имени администратора.\r\nПродолжить установку?"},
        {"only a font",
         [](const InstallRequest&) {
             return RightsNeeds{true, false, L""};
         },
         L"Шрифты не могут быть установлены без прав администратора.\r\nЧтобы установить их, запустите "
         L"программу установки от имени администратора.\r\nПродолжить установку?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetView();
        view_.answer = false;
        const SetupLogCapture log;
        EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsMissing, FreeBytesForUser, c.needs),
                  c.question.empty() ? PreflightVerdict::Go : PreflightVerdict::NoRights);
        EXPECT_EQ(view_.events, c.question.empty() ? std::vector<std::wstring>{}
                                                   : std::vector<std::wstring>{L"ask: " + c.question});
        if (c.question.empty()) {
            EXPECT_EQ(log.FindLast(),
                      L"Rights: no administrator rights, and none needed: every font of the package "
                      L"is installed, the driver is not chosen and the install folder can be "
                      L"written");
        }
    }
    // What this PC needs: the driver as chosen; here (as root under Wine)
    // the install folder can be written.
    request_.driver = false;
    EXPECT_FALSE(RightsNeedsOfThisPc(request_).driver);
    EXPECT_EQ(RightsNeedsOfThisPc(request_).unwritableFolder, L"");
    request_.driver = true;
    EXPECT_TRUE(RightsNeedsOfThisPc(request_).driver);
}

// The clinic's database held by its program: refused before anything is
// written, the settings file included.
TEST_F(Preflight, AHeldDatabaseIsRefusedBeforeAnythingIsWritten) {
    Build();
    const std::vector<std::wstring> clinicFolder = Listing(install_);
    {
        const std::wstring database = install_ + L"DTAfb\\V12.FDB";
        const ScopedHandle held(
            CreateFileW(database.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        try {
            CheckBeforeInstallation(view_, request_, package_, RightsGranted);
            ADD_FAILURE() << "not refused";
        } catch (const Error& e) {
            EXPECT_EQ(e.text().rfind(L"Cannot create file \"" + database + L"\". ", 0), 0u) << e.what();
        }
    }
    EXPECT_TRUE(view_.events.empty());
    EXPECT_EQ(Listing(install_), clinicFolder);
    ExpectNothingLost(Database::InPlace, kClinicSettings);
}

TEST_F(Preflight, WithRightsNothingIsAsked) {
    Build();
    const SetupLogCapture log;
    EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted), PreflightVerdict::Go);
    EXPECT_TRUE(view_.events.empty());
    EXPECT_EQ(log.FindLast(), L"Rights: the fonts and the driver can be installed");
}

// Free-space figures of the test's own for the temporary folder's disk,
// which also holds the system's fonts folder.
uint64_t testFreeBytes = 0;
Result<uint64_t> TestFreeSpace(const std::wstring&) {
    return testFreeBytes;
}
Result<uint64_t> UnreadableFreeSpace(const std::wstring&) {
    return Result<uint64_t>::Failure(L"GetDiskFreeSpaceExW", ERROR_NOT_READY);
}

// The verdict on any disk, mounted or not: one byte short of the package
// and its margin is refused before anything is written, the exact room runs
// through.
TEST_F(Preflight, OneByteTooLittleIsRefusedAndExactlyEnoughIsNot) {
    Build();
    const std::wstring volume = L"C:\\";
    ASSERT_EQ(install_.rfind(volume, 0), 0u);
    const std::wstring fonts = SystemFontTargets().fontsFolder;
    ASSERT_EQ(fonts.rfind(volume, 0), 0u);
    const uint64_t needed = InstalledPackageBytes(package_, fonts);
    const std::vector<std::wstring> clinicFolder = Listing(install_);
    const SetupLogCapture log;
    const struct {
        uint64_t available;
        bool fits;
    } cases[] = {{needed + kMiB - 1, false}, {needed + kMiB, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.available);
        testFreeBytes = c.available;
        view_.events.clear();
        EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted, TestFreeSpace),
                  c.fits ? PreflightVerdict::Go : PreflightVerdict::NoRoom);
        EXPECT_EQ(log.FindLast(L"Free space on "),
                  SpaceLine(volume, needed, c.available, c.fits ? L"enough" : L"too little"));
        if (c.fits) {
            EXPECT_TRUE(view_.events.empty());
            EXPECT_EQ(log.FindLast(), L"Rights: the fonts and the driver can be installed");
        } else {
            EXPECT_EQ(view_.events, std::vector<std::wstring>{NoRoomBox(volume, needed, c.available)});
            EXPECT_EQ(log.FindLast(), L"Installation not started: too little free space on " + volume);
        }
        EXPECT_TRUE(view_.lines.empty());
        EXPECT_EQ(Listing(install_), clinicFolder);
    }
    ExpectNothingLost(Database::InPlace, kClinicSettings);
}

// A disk whose free space cannot be read is not checked, and the setup log
// says why.
TEST_F(Preflight, FreeSpaceThatCannotBeReadIsLoggedAndNotChecked) {
    Build();
    const SetupLogCapture log;
    EXPECT_EQ(CheckBeforeInstallation(view_, request_, package_, RightsGranted, UnreadableFreeSpace),
              PreflightVerdict::Go);
    EXPECT_TRUE(view_.events.empty());
    EXPECT_EQ(log.Find(L"Free space: "), L"Free space: cannot be read for " + install_ + L"; not checked: error " +
                                             std::to_wstring(ERROR_NOT_READY) + L": " +
                                             SystemErrorText(ERROR_NOT_READY));
    EXPECT_EQ(log.Find(L"Free space on "), L"");
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
