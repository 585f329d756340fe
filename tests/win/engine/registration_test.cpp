// The installation's last step: the removal program kept in a folder of its
// own and the entry in the system's list of installed programs, read back
// from the registry and the file system; rewritten by a re-run, never
// written by a pass that ended early, and a failure shown and counted.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <string>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/run_facts.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/install_sequence.h"
#include "engine/local_date_time.h"
#include "engine/plan_executor.h"
#include "engine/removal_program.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/recording_view.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"
#include "tests/kit/uninstall_entry_reader.h"

namespace {

constexpr std::wstring_view kRegistrationLine = L"Регистрация в списке установленных программ....";

// The bytes of every file below folder.
uint64_t TreeBytes(const std::wstring& folder) {
    uint64_t bytes = 0;
    WIN32_FIND_DATAW found;
    const ScopedFindHandle find(FindFirstFileW((folder + L"*").c_str(), &found));
    if (!find.valid()) return 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            bytes += TreeBytes(folder + name + L"\\");
        else
            bytes += (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (FindNextFileW(find.get(), &found));
    return bytes;
}

// What the pass asked Windows to set on a folder: Wine keeps no access
// lists, so the test looks at the call. The list is read with the system's
// own reader, as "<account>:<rights>:<inheritance>".
struct SecuritySet {
    std::wstring folder;
    SECURITY_INFORMATION what = 0;
    std::vector<std::wstring> entries;
};
SecuritySet lastSecuritySet;

DWORD WINAPI RecordSecurity(LPWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION what, PSID owner, PSID group,
                            PACL dacl, PACL sacl) {
    lastSecuritySet = {name, what, {}};
    ULONG count = 0;
    EXPLICIT_ACCESSW* entries = nullptr;
    if (GetExplicitEntriesFromAclW(dacl, &count, &entries) == ERROR_SUCCESS) {
        const ScopedLocalMemory owner(entries);
        for (ULONG i = 0; i < count; ++i) {
            wchar_t account[256], domain[256];
            DWORD accountSize = 256, domainSize = 256;
            SID_NAME_USE use;
            if (!LookupAccountSidW(nullptr, entries[i].Trustee.ptstrName, account, &accountSize, domain,
                                   &domainSize, &use))
                wcscpy(account, L"?");
            lastSecuritySet.entries.push_back(std::wstring(account) + L":" +
                                              std::to_wstring(entries[i].grfAccessPermissions) + L":" +
                                              std::to_wstring(entries[i].grfInheritance));
        }
    }
    return SetNamedSecurityInfoW(name, type, what, owner, group, dacl, sacl);
}

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteEntry();
        SetSecurityHook = RecordSecurity;
        package_ = temp_ / L"package\\";
        install_ = temp_ / L"Holter\\";
        request_ = TestRequest(install_, L"Velmora - Холтер (registration test)");
        request_.driver = false;
        request_.installerVersion = L"1.0.0.0";
        request_.installerProgram = package_ + L"Updater\\Shell.exe";
        request_.displayName = L"Установка комплекса \"Velmora-Холтер\"";
        request_.publisher = L"Velmora";
        CreateDirectoryW(install_.c_str(), nullptr);
        CreateDirectoryW((install_ + L"Settings").c_str(), nullptr);
        BuildPackage(package_, {});
    }
    void TearDown() override {
        SetSecurityHook = SetNamedSecurityInfoW;
        DeleteEntry();
    }

    ScopedCoInitialize com_;
    TempFolder temp_;
    std::wstring package_, install_;
    InstallRequest request_;
    RecordingView view_;
    SetupLogCapture log_;
};

TEST_F(RegistrationTest, AFullPassKeepsTheRemovalProgramAndWritesEveryValue) {
    const LocalDateTime today = LocalNow();
    RunRecorded(view_, request_, package_);
    std::string shown;
    for (const std::wstring& line : view_.lines) shown += ToUtf8(line) + "\n";
    ASSERT_EQ(view_.outcome, InstallOutcome::Completed) << shown << ToUtf8(log_.Find(L"Cannot"));

    const std::wstring program = install_ + L"Uninstall\\VelmoraSetup.exe";
    EXPECT_EQ(ReadFileBytes(program), ReadFileBytes(request_.installerProgram));
    EXPECT_EQ(EntryText(L"DisplayName"), L"Установка комплекса \"Velmora-Холтер\"");
    EXPECT_EQ(EntryText(L"DisplayVersion"), L"010124");
    EXPECT_EQ(EntryText(L"InstallerVersion"), L"1.0.0.0");
    EXPECT_EQ(EntryText(L"Publisher"), L"Velmora");
    EXPECT_EQ(EntryText(L"InstallLocation"), install_);
    wchar_t date[16];
    swprintf(date, 16, L"%04d%02d%02d", today.year, today.month, today.day);
    EXPECT_EQ(EntryText(L"InstallDate"), date);
    EXPECT_EQ(EntryText(L"DisplayIcon"), program);
    const std::wstring command =
        L"\"" + program + L"\" /UNINSTALL \"/D=" + WithoutTrailingBackslash(install_) + L"\"";
    EXPECT_EQ(EntryText(L"UninstallString"), command);
    EXPECT_EQ(EntryText(L"QuietUninstallString"), command + L" /S");
    EXPECT_EQ(EntryNumber(L"NoModify"), 1u);
    EXPECT_EQ(EntryNumber(L"NoRepair"), 1u);
    // The record's files and the program; the record itself, its page and
    // what the update script added are not counted.
    const uint64_t onDisk = TreeBytes(install_);
    EXPECT_LE(EntryNumber(L"EstimatedSize"), (onDisk + 1023) / 1024);
    EXPECT_GE(EntryNumber(L"EstimatedSize"), (onDisk - TreeBytes(install_ + L"Settings\\")) / 1024 - 1);
    EXPECT_NE(log_.Find(L"Registered in the list of installed programs: HKLM\\" + kEntryKey), L"");

    if (Elevation() != L"yes") GTEST_SKIP() << "the access list is set only by an elevated run";
    EXPECT_EQ(lastSecuritySet.folder, install_ + L"Uninstall");
    EXPECT_EQ(lastSecuritySet.what, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION)
        << "nothing inherited from the install folder";
    const std::wstring everything = std::to_wstring(GENERIC_ALL);
    const std::wstring readAndRun = std::to_wstring(GENERIC_READ | GENERIC_EXECUTE);
    const std::wstring inherited = std::to_wstring(SUB_CONTAINERS_AND_OBJECTS_INHERIT);
    EXPECT_EQ(lastSecuritySet.entries,
              (std::vector<std::wstring>{L"Administrators:" + everything + L":" + inherited,
                                         L"SYSTEM:" + everything + L":" + inherited,
                                         L"Users:" + readAndRun + L":" + inherited}));
}

TEST_F(RegistrationTest, ARerunRewritesTheEntryAndAPassEndedEarlyWritesNone) {
    RunRecorded(view_, request_, package_);
    {
        ScopedRegKey key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEntryKey.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                key.receive()),
                  ERROR_SUCCESS);
        const std::wstring old = L"000000";
        RegSetValueExW(key.get(), L"DisplayVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(old.c_str()),
                       static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t)));
    }
    RunRecorded(view_, request_, package_);
    EXPECT_EQ(EntryText(L"DisplayVersion"), L"010124");

    DeleteEntry();
    RemoveTree(install_ + L"Uninstall");
    RecordingView early;
    const auto failGbak = [](std::wstring_view source, std::wstring_view destination) {
        if (NameOf(destination) == L"gbak.exe") return Result<>::Failure(L"Cannot copy gbak.exe", ERROR_DISK_FULL);
        return CopyFileWithDate(source, destination);
    };
    RunRecorded(early, request_, package_, failGbak);
    EXPECT_EQ(early.outcome, InstallOutcome::EndedEarly);
    EXPECT_EQ(EntryText(L"DisplayName"), L"");
    EXPECT_FALSE(FileExists(install_ + L"Uninstall\\VelmoraSetup.exe"));
}

// A removal program that cannot be kept is never registered: the line says
// so, it counts, and the log names the failing call.
TEST_F(RegistrationTest, AFailureIsALineThatCountsAndNoEntryIsWritten) {
    WriteFileBytes(install_ + L"Uninstall", "a file where the folder should be");
    RunRecorded(view_, request_, package_);
    EXPECT_EQ(view_.outcome, InstallOutcome::CompletedWithFailures);
    EXPECT_EQ(view_.lines.back(), std::wstring(kRegistrationLine) + L"ОШИБКА!!!");
    EXPECT_NE(log_.Find(L"Cannot create folder " + install_ + L"Uninstall\\: error "), L"")
        << "with the system's code";
    EXPECT_EQ(EntryText(L"DisplayName"), L"");
}

}  // namespace
