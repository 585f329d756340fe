// Install folders with Cyrillic letters, with blanks, and deeper than
// MAX_PATH. Every file the installer writes, copies or starts is found
// under such names; where the platform has a limit, the installation ends
// with the documented error and keeps everything.
#include <windows.h>

#include <shlobj.h>
#include <wrl/client.h>

#include "engine/file_ops.h"
#include "engine/release_info.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

using Microsoft::WRL::ComPtr;

std::wstring LinkTarget(const std::wstring& link) {
    ComPtr<IShellLinkW> shellLink;
    ComPtr<IPersistFile> file;
    wchar_t target[1024] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shellLink))) &&
        SUCCEEDED(shellLink.As(&file)) && SUCCEEDED(file->Load(link.c_str(), STGM_READ)))
        shellLink->GetPath(target, 1024, nullptr, SLGP_RAWPATH);
    return target;
}

// Creates every missing folder of path (which ends in "\").
void MakeFolders(const std::wstring& path) {
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        MakeFolder(path.substr(0, slash));
}

class InstallFolders : public FaultTest {};

TEST_F(InstallFolders, CyrillicLettersAndBlanksReachEveryStep) {
    Build();
    for (const wchar_t* name : {L"Холтер Ёжиков\\", L"Program Files\\Velmora Holter\\", L"Мониторинг\\ЭКГ\\"}) {
        SCOPED_TRACE(ToUtf8(name));
        MakeFolders(temp_ / name);
        UseInstallFolder(temp_ / name);

        EXPECT_EQ(Run(), std::nullopt);
        EXPECT_EQ(Lines(), DeploymentLines(Database::KeptAside) + kDriverLines + kReadBackLines);
        EXPECT_EQ(view_.events, kEventsOfAWholeRun);
        ExpectNothingLost(Database::KeptAside);
        EXPECT_EQ(ReadFileBytes(install_ + L"udf\\SDecision.Dll"), StandInContent(L"UDF\\SDecision.Dll"));
        EXPECT_TRUE(PathExists(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.done"));
        EXPECT_TRUE(PathExists(install_ + L"backup\\U010124.done"));
        EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos);
        EXPECT_EQ(LinkTarget(DesktopShortcut()), install_ + L"Shell.exe");
        DeleteFileW(DesktopShortcut().c_str());
    }
}

// Files are written and copied at any depth. The shell's copy is refused
// (it takes no such paths), and no program can be started in a folder that
// deep, so the installation ends at the update script.
TEST_F(InstallFolders, DeeperThanMaxPathEndsAtTheUpdateScriptKeepingEverything) {
    Build();
    std::wstring deep = temp_.path();
    while (deep.size() <= MAX_PATH) deep += L"Очень глубокая папка\\";
    MakeFolders(deep);
    UseInstallFolder(deep);

    EXPECT_EQ(Run(), L"ia niia nicaaou i?ioann: " + deep + L"backup\\U010124\\Install.cmd");
    // The driver folder cannot be copied there: the driver installer runs
    // from the distribution instead.
    EXPECT_EQ(Lines(), DeploymentLines(Database::KeptAside) + kDriverLines);
    EXPECT_TRUE(PathExists(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.done"));
    EXPECT_EQ(view_.events, kEventsEndingAfterDeployment);
    ExpectNothingLost(Database::KeptAside);
    EXPECT_EQ(ReadFileBytes(deep + L"udf\\SDecision.Dll"), StandInContent(L"UDF\\SDecision.Dll"));
    EXPECT_TRUE(PathExists(deep + L"Shell.exe"));
    EXPECT_FALSE(PathExists(deep + L"FTDIDriverInstall"));
    EXPECT_EQ(
        ShellCopyFolder(package_ + L"FTDIDriverInstall", deep + L"FTDIDriverInstall", ShellCopyUi::Shown).code(),
        static_cast<uint32_t>(ERROR_FILENAME_EXCED_RANGE));
}

// Whether the XML DOM loads a file that deep is the platform's matter:
// either the level is written, or the documented error leaves the file
// whole.
TEST_F(InstallFolders, ReleaseLevelDeeperThanMaxPathIsWrittenOrRefusedWhole) {
    std::wstring deep = temp_.path();
    while (deep.size() <= MAX_PATH) deep += L"Очень глубокая папка\\";
    MakeFolders(deep);
    const std::string before = "<ROOT><Version>1</Version><Level>100101</Level></ROOT>";
    WriteFileBytes(deep + L"ReleaseInfo", before);
    try {
        SetReleaseLevel(deep, L"250918");
        EXPECT_NE(ReadFileBytes(deep + L"ReleaseInfo").find("<Level>250918</Level>"), std::string::npos);
    } catch (const Error& e) {
        EXPECT_EQ(e.text().rfind(L"Cannot get release information, error: ", 0), 0u) << ToUtf8(e.text());
        EXPECT_EQ(ReadFileBytes(deep + L"ReleaseInfo"), before);
        RecordProperty("release level deeper than MAX_PATH", ToUtf8(e.text()));
    }
}

}  // namespace
}  // namespace faults
