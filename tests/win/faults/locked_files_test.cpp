// Files held open without sharing by another program while the installation
// runs: a package file (a scanner reading the CD) and a file of the install
// folder (the clinic's database server still running). The copy raises,
// the installation ends, and the held and the clinic's files keep their
// content.
#include <windows.h>

#include "base/file_system.h"
#include "base/strings.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

// A second process (file_holder, built beside the tests) that holds path
// open with share mode 0 for as long as this object lives.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path) {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        ScopedHandle childIn, childOut;
        if (!CreatePipe(childIn.receive(), toChild_.receive(), &inherit, 0) ||
            !CreatePipe(fromChild_.receive(), childOut.receive(), &inherit, 0))
            throw Error(L"no pipe");
        SetHandleInformation(toChild_.get(), HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(fromChild_.get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = childIn.get();
        start.hStdOutput = childOut.get();
        start.hStdError = childOut.get();
        std::wstring command = L"\"" + JoinPath(ModuleFolder(), L"file_holder.exe") + L"\" \"" + path + L"\"";
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &start, &started))
            throw Error(L"file_holder.exe does not start: " + SystemErrorText(GetLastError()));
        process_.reset(started.hProcess);
        CloseHandle(started.hThread);
        childOut.reset();
        std::string answer;
        char c = 0;
        DWORD got = 0;
        while (ReadFile(fromChild_.get(), &c, 1, &got, nullptr) && got == 1 && c != '\n') answer += c;
        if (answer != "held") throw Error(L"file_holder: " + FromUtf8(answer));
    }
    ~HeldFile() {
        toChild_.reset();  // the holder ends at the end of its input
        WaitForSingleObject(process_.get(), 10000);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

private:
    ScopedHandle toChild_, fromChild_, process_;
};

class LockedFiles : public FaultTest {};

TEST_F(LockedFiles, HeldSourceOrDestinationEndsTheInstallationWithItsName) {
    struct Case {
        const char* what;
        std::wstring held;
        const wchar_t* stopsAt;  // the copy line left without suffix
        std::wstring error;
        Database database;
    };
    Build();
    const Case cases[] = {
        {"package database", package_ + L"DTAfb\\V12.FDB", L"V12.FDB",
         ErrorText(L"Cannot open file", package_ + L"DTAfb\\V12.FDB", ERROR_SHARING_VIOLATION), Database::InPlace},
        {"package runtime file", package_ + L"Firebird\\fbclient.Dll", L"fbclient.Dll",
         ErrorText(L"Cannot open file", package_ + L"Firebird\\fbclient.Dll", ERROR_SHARING_VIOLATION),
         Database::KeptAside},
        // The database in use cannot be moved aside: nothing is copied.
        {"installed database", install_ + L"DTAfb\\V12.FDB", nullptr,
         ErrorText(L"Cannot create file", install_ + L"DTAfb\\V12.FDB", ERROR_SHARING_VIOLATION),
         Database::InPlace},
        {"installed runtime file", install_ + L"fbclient.Dll", L"fbclient.Dll",
         ErrorText(L"Cannot create file", install_ + L"fbclient.Dll", ERROR_SHARING_VIOLATION),
         Database::KeptAside},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(install_);
        UseInstallFolder(install_);
        WriteFileBytes(install_ + L"fbclient.Dll", "the running server's library");
        const std::string heldContent = ReadFileBytes(c.held);
        {
            HeldFile held(c.held);
            EXPECT_EQ(Run().value_or(L""), c.error);
        }
        std::vector<std::wstring> lines = {L"Создание настроечных файлов....Завершено"};
        if (c.stopsAt) lines = DeploymentLines(c.database, c.stopsAt);
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(view_.events, kEventsEndingInDeployment);
        EXPECT_EQ(ReadFileBytes(c.held), heldContent);
        ExpectNothingLost(c.database);
    }
}

// The two tree copies go on past a held file: each tree with files left
// behind gets one line with their count, and the setup log names each file
// with the system's reason. A package with a file another program holds
// cannot be checked, so its script does not run.
TEST_F(LockedFiles, HeldFilesOfTheTreeCopiesAreCountedOnScreenAndNamedInTheLog) {
    Build();
    WriteFileBytes(package_ + L"backup\\U010124\\notes.txt", "package notes");
    MakeFolder(install_ + L"backup");
    MakeFolder(install_ + L"backup\\U010124");
    WriteFileBytes(install_ + L"backup\\U010124\\notes.txt", "held by the old updater");
    SetupLogCapture log;
    {
        HeldFile heldSource(package_ + L"Updater\\Shell.exe");
        HeldFile heldDestination(install_ + L"backup\\U010124\\notes.txt");
        EXPECT_EQ(Run(), std::nullopt);
    }
    EXPECT_EQ(Lines(), (DeploymentLines(Database::KeptAside) + kDriverLines +
                        std::vector<std::wstring>{L"Не скопировано файлов из каталога <backup>: 1",
                                                  L"Не скопировано файлов из каталога <Updater>: 1",
                                                  L"Пакет обновления <U010124>: пакет не удалось проверить, "
                                                  L"Install.cmd не запущен; уровень обновления не записан"} +
                        kReadBackLines));
    EXPECT_EQ(view_.events, kEventsOfAWholeRun);
    EXPECT_TRUE(log.Has(L"Install.cmd of " + install_ +
                        L"backup\\U010124 not run: the package cannot be checked: a "
                        L"file cannot be held: " +
                        install_ + L"backup\\U010124\\notes.txt: "))
        << log.Dump();
    const std::wstring sharing = L": error 32: " + SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(log.Find(L"Not copied: " + package_ + L"backup\\U010124\\notes.txt"),
              L"Not copied: " + package_ + L"backup\\U010124\\notes.txt -> " + install_ +
                  L"backup\\U010124\\notes.txt" + sharing)
        << log.Dump();
    // One delimiter between the folder and the name: the updater's tree is
    // copied into the install folder itself.
    EXPECT_EQ(log.Find(L"Not copied: " + package_ + L"Updater\\Shell.exe"),
              L"Not copied: " + package_ + L"Updater\\Shell.exe -> " + install_ + L"Shell.exe" + sharing);
    EXPECT_EQ(ReadFileBytes(install_ + L"backup\\U010124\\notes.txt"), "held by the old updater");
    EXPECT_EQ(ReadFileBytes(install_ + L"backup\\U010124\\Install.cmd"),
              ReadFileBytes(package_ + L"backup\\U010124\\Install.cmd"))
        << "the rest of the tree is copied";
    ExpectNothingLost(Database::KeptAside);
}

}  // namespace
}  // namespace faults
