// A package with a folder missing, on read-only media, or with update
// packages whose names carry no date: the installation ends or goes on as
// its failure rules say, and the clinic's data already in the install
// folder is never lost.
#include <windows.h>

#include "engine/package_choice.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

class PackageFaults : public FaultTest {};

TEST_F(PackageFaults, EachMissingFolderEndsOrGoesOnAsDocumented) {
    struct Case {
        const wchar_t* folder;   // left out of the package
        const wchar_t* stopsAt;  // the file whose copy raised; nullptr: every file copied
        std::wstring error;      // raised; empty: none
        Database database;
        const wchar_t* absent = nullptr;  // in the install folder afterwards
    };
    const auto notFound = [this](const wchar_t* file) {
        return ErrorText(L"Cannot open file", package_ + file, ERROR_PATH_NOT_FOUND);
    };
    const Case cases[] = {
        {L"DTAfb", L"V12.FDB", notFound(L"DTAfb\\V12.FDB"), Database::InPlace},
        {L"Firebird", L"aliases.conf", notFound(L"Firebird\\aliases.conf"), Database::KeptAside},
        {L"Firebird\\intl", L"fbintl.conf", notFound(L"Firebird\\intl\\fbintl.conf"), Database::KeptAside},
        {L"Firebird\\udf", L"fbudf.dll", notFound(L"Firebird\\udf\\fbudf.dll"), Database::KeptAside},
        // The package's own libraries go on after a failed copy, not after
        // one that raises.
        {L"UDF", L"Compare.Dll", notFound(L"UDF\\Compare.Dll"), Database::KeptAside},
        {L"fonts", nullptr, L"", Database::KeptAside},
        {L"FTDIDriverInstall", nullptr, L"", Database::KeptAside, L"FTDIDriverInstall"},
        {L"backup", nullptr, L"List index out of bounds (0)", Database::KeptAside, L"backup\\U010124"},
        {L"Updater", nullptr, L"Release info file does not exist", Database::KeptAside, L"Shell.exe"},
        {L"Updater\\ReleaseInfo", nullptr, L"Release info file does not exist", Database::KeptAside,
         L"ReleaseInfo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "without " << ToUtf8(c.folder));
        RemoveTree(temp_.path());
        MakeFolder(temp_.path());
        PackageOptions options;
        options.leaveOut = {c.folder};
        Build(options);
        UseInstallFolder(install_);

        EXPECT_EQ(Run().value_or(L""), c.error);
        std::vector<std::wstring> lines = DeploymentLines(c.database, c.stopsAt);
        std::vector<std::wstring> events = kEventsEndingInDeployment;
        if (!c.stopsAt) {
            // Without its folder the driver installer cannot start: its line
            // says so and no line claims the driver installed.
            lines =
                lines + (std::wstring(c.folder) == L"FTDIDriverInstall" ? kDriverNotStartedLines : kDriverLines);
            events = c.error.empty() ? kEventsOfAWholeRun : kEventsEndingAfterDeployment;
            if (c.error.empty()) lines = lines + kReadBackLines;
        }
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(view_.events, events);
        EXPECT_EQ(ExitEnabled(), c.error.empty());
        EXPECT_EQ(PathExists(DesktopShortcut()), c.error.empty());
        if (c.absent) {
            EXPECT_FALSE(PathExists(install_ + c.absent));
        }
        ExpectNothingLost(c.database);
        DeleteFileW(DesktopShortcut().c_str());
    }
}

// Update-package folders whose last six characters are no DDMMYY date end
// the installation at the package choice, after everything was deployed.
TEST_F(PackageFaults, UpdatePackagesWithoutADateEndTheInstallationAtTheChoice) {
    struct Case {
        const wchar_t* name;
        std::wstring error;
        std::vector<std::wstring> treeLines = {};
    };
    const Case cases[] = {
        {L"Readme", L"'meadRe' is not a valid integer value"},
        {L"A99999", L"'9999A9' is not a valid integer value"},
        // Folders are made without trailing blanks: the copy in the install
        // folder is "A010124", empty (its script could not be copied, which
        // the screen says), so it is the newest and its script cannot start.
        {L"A010124 ",
         L"ia niia nicaaou i?ioann: " + install_ + L"backup\\A010124\\Install.cmd",
         {L"Не скопировано файлов из каталога <backup>: 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "package folder \"" << ToUtf8(c.name) << "\"");
        RemoveTree(temp_.path());
        MakeFolder(temp_.path());
        Build();
        // Through "\\?\" the name keeps its trailing blank.
        const std::wstring odd = L"\\\\?\\" + package_ + L"backup\\" + c.name;
        ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr));
        WriteFileBytes(odd + L"\\Install.cmd", "@echo off\r\necho odd> ..\\odd.done\r\n");
        UseInstallFolder(install_);

        EXPECT_EQ(Run().value_or(L""), c.error);
        EXPECT_EQ(Lines(), DeploymentLines(Database::KeptAside) + kDriverLines + c.treeLines);
        EXPECT_EQ(view_.events, kEventsEndingAfterDeployment);
        EXPECT_FALSE(PathExists(DesktopShortcut()));
        ExpectNothingLost(Database::KeptAside);
    }
}

// Where such a folder does reach the install folder with its blank, its
// date key holds the blank.
TEST_F(PackageFaults, PackageFolderWithATrailingBlankHasNoValidDateKey) {
    MakeFolder(install_ + L"backup");
    MakeFolder(install_ + L"backup\\U250918");
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + install_ + L"backup\\A010124 ").c_str(), nullptr));
    try {
        FindNewestPackage(install_);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"'4 1210' is not a valid integer value");
    }
}

// Every file of the package read-only, as on a CD.
void MarkTreeReadOnly(const std::wstring& folder) {
    for (const std::wstring& name : FilesMatching(folder, L"*")) {
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            MarkTreeReadOnly(path + L"\\");
        else
            SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
    }
}

bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Wine run as root replaces read-only files; an unprivileged user cannot.
bool ReadOnlyFilesAreProtected(const TempFolder& temp) {
    const std::wstring probe = temp / L"read-only probe";
    WriteFileBytes(probe, "old");
    SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool replaced = CopyFileW((temp / L"package\\DTAfb\\V12.FDB").c_str(), probe.c_str(), FALSE);
    SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(probe.c_str());
    return !replaced;
}

TEST_F(PackageFaults, ReadOnlyMediaGiveWritableFilesExceptTheTreeCopies) {
    Build();
    MarkTreeReadOnly(package_);
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_EQ(view_.events, kEventsOfAWholeRun);
    ExpectNothingLost(Database::KeptAside);

    for (const wchar_t* name :
         {L"ReleaseInfo", L"Updater.exe.cfg", L"DTAfb\\V12.FDB", L"fbclient.Dll", L"intl\\fbintl.dll",
          L"udf\\ib_udf2.sql", L"udf\\SDecision.Dll", L"Settings\\holter.ini"})
        EXPECT_FALSE(IsReadOnly(install_ + name)) << ToUtf8(name);
    for (const wchar_t* name : {L"Shell.exe", L"backup\\U010124\\Install.cmd", L"backup\\U250918\\Install.cmd",
                                L"FTDIDriverInstall\\FTDIDriverInstall.exe"})
        EXPECT_TRUE(IsReadOnly(install_ + name)) << ToUtf8(name);
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos);
    EXPECT_TRUE(IsReadOnly(package_ + L"Updater\\ReleaseInfo"));
}

TEST_F(PackageFaults, ReadOnlyMediaInstalledAgainKeepTheReadOnlyCopiesAndWriteTheLevel) {
    Build();
    if (!ReadOnlyFilesAreProtected(temp_))
        GTEST_SKIP() << "read-only files are replaced here (Wine run as root); the unprivileged run covers this";
    MarkTreeReadOnly(package_);
    ASSERT_EQ(Run(), std::nullopt);
    const std::string firstShell = ReadFileBytes(install_ + L"Shell.exe");
    const std::string firstScript = ReadFileBytes(install_ + L"backup\\U010124\\Install.cmd");

    // A newer package on new media: other programs, another update package.
    RemoveTree(package_);
    PackageOptions newer;
    newer.updatePackages = {L"U010124", L"U250918", L"U150325"};
    Build(newer);
    WriteFileBytes(package_ + L"Updater\\Shell.exe", "the newer shell");
    WriteFileBytes(package_ + L"backup\\U010124\\Install.cmd", "@echo off\r\necho newer> ..\\newer.done\r\n");
    MarkTreeReadOnly(package_);
    ResetView();
    ASSERT_EQ(Run(), std::nullopt);

    // The platform refuses to replace the read-only copies: kept on purpose,
    // so no line counts them as not copied, but a line says they were kept.
    EXPECT_EQ(ReadFileBytes(install_ + L"Shell.exe"), firstShell);
    for (const std::wstring& line : view_.lines) EXPECT_EQ(line.find(L"Не скопировано"), std::wstring::npos);
    for (const std::wstring line :
         {L"Не заменено файлов \"только для чтения\" при копировании каталога <backup>: 2",
          L"Не заменено файлов \"только для чтения\" при копировании каталога <Updater>: 1"})
        EXPECT_NE(std::find(view_.lines.begin(), view_.lines.end(), line), view_.lines.end()) << ToUtf8(line);
    EXPECT_EQ(ReadFileBytes(install_ + L"backup\\U010124\\Install.cmd"), firstScript);
    // New files arrive, and the release information is the new package's
    // with the newest level.
    EXPECT_TRUE(PathExists(install_ + L"backup\\U150325.done"));
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>150325</Level>"), std::string::npos);
    EXPECT_FALSE(IsReadOnly(install_ + L"ReleaseInfo"));
    EXPECT_EQ(view_.events, kEventsOfAWholeRun);
    const std::wstring databases = install_ + L"DTAfb\\";
    int clinicCopies = 0;
    for (const std::wstring& backup : FilesMatching(databases, L"V12.FDB.*.bak"))
        clinicCopies += ReadFileBytes(databases + backup) == kClinicDatabase;
    EXPECT_EQ(clinicCopies, 1);
}

}  // namespace
}  // namespace faults
