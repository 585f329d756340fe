// Lays out an installation package for tests and the demo: every folder and
// file the installer takes, with small stand-in content, real TrueType fonts
// from the Linux host and the stand-in programs built beside the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PackageOptions {
    // Paths below the package folder to leave out, files or whole folders,
    // e.g. L"Firebird\\gbak.exe" or L"fonts".
    std::vector<std::wstring> leaveOut;
    // Size of "DTAfb\V12.FDB" in bytes.
    uint64_t databaseSize = 64 * 1024;
    // Update-package folders below "backup", each holding an Install.cmd that
    // leaves "<name>.done" in the folder above its own (its own folder stays
    // exactly the package, as a package script must leave it).
    std::vector<std::wstring> updatePackages = {L"U010124", L"U250918"};
    // Text of "Updater\ReleaseInfo" (UTF-8 bytes).
    std::string releaseInfo =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ROOT><Version>1</Version><Level>100101</Level></ROOT>\r\n";
    // Marks the files of the "backup" and "Updater" trees read-only, as on a
    // read-only installation medium.
    bool readOnlyTrees = false;
    // Folder holding the built stand-ins FTDIDriverInstall.exe and Shell.exe;
    // empty: the folder of the running program.
    std::wstring standInFolder;
    // The built stand-in that takes the driver installer's place.
    std::wstring driverStandIn = L"FTDIDriverInstall.exe";
};

// Lays the package out in folder (with its trailing "\"; created when
// missing). Throws std::runtime_error naming the file it could not write.
void BuildPackage(const std::wstring& folder, const PackageOptions& options = {});

// Names of the package's seven fonts, in installation order.
extern const wchar_t* const kPackageFonts[7];

// The content BuildPackage gives the file at path below the package folder
// (for the listed files with generated content).
std::string StandInContent(const std::wstring& relativePath);

// The progress lines an installation from a package laid out by BuildPackage
// will add for its fonts: one for each font not yet installed in the system
// (IsFontInstalled), with the face name the font file carries.
std::vector<std::wstring> ExpectedFontLines();
