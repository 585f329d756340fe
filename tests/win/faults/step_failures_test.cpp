// Steps whose failure does not end the installation: the driver installer
// that cannot be started and the update script that exits with an error
// code. Each shows on screen, and the setup log keeps the system's reason
// and the exit codes.
#include <windows.h>

#include "tests/kit/setup_log_capture.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

class StepFailures : public FaultTest {};

TEST_F(StepFailures, DriverInstallerThatCannotStartMarksItsLineWithoutTheFinishedLine) {
    struct Case {
        const char* what;
        bool missing;  // the whole driver folder left out; else the program is no program
        DWORD code;    // the system's reason in the setup log
    };
    for (const Case& c :
         {Case{"missing", true, ERROR_FILE_NOT_FOUND}, Case{"not a program", false, ERROR_BAD_EXE_FORMAT}}) {
        SCOPED_TRACE(c.what);
        SetupLogCapture log;
        RemoveTree(temp_.path());
        MakeFolder(temp_.path());
        PackageOptions options;
        if (c.missing) options.leaveOut = {L"FTDIDriverInstall"};
        Build(options);
        if (!c.missing)
            WriteFileBytes(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe", "not a program\r\n");
        UseInstallFolder(install_);

        EXPECT_EQ(Run(), std::nullopt);
        EXPECT_EQ(Lines(), DeploymentLines(Database::KeptAside) + kDriverNotStartedLines + kReadBackLines);
        EXPECT_EQ(view_.events, kEventsOfAWholeRun) << "the installation goes on";
        EXPECT_EQ(view_.outcome, InstallOutcome::CompletedWithFailures) << "a driver not started is a failure";
        // The code is the refused start's, not that of a later call; the
        // distribution's program is the one tried, copy or no copy.
        const std::wstring program = package_ + L"FTDIDriverInstall\\FTDIDriverInstall.exe";
        const DWORD code = StartFailureCode(L"\"" + program + L"\"", package_ + L"FTDIDriverInstall");
        EXPECT_EQ(code, c.code);
        const std::wstring notStarted =
            L"Driver installer not started: " + program + L": error " + std::to_wstring(code) + L": ";
        EXPECT_TRUE(log.Has(notStarted)) << log.Dump();
        EXPECT_FALSE(log.Has(L"Driver installer ended with exit code"));
        EXPECT_EQ(c.missing, log.Has(L"Driver folder not in the package: " + package_ + L"FTDIDriverInstall"));
        ExpectNothingLost(Database::KeptAside);
    }
}

// An exit code of -1 is the driver installer's answer, not a failed start;
// only a restart request (3010, 1641) is shown, and it ends the run as
// needing a restart unless a step failed.
TEST_F(StepFailures, DriverInstallerExitCodeGoesIntoTheSetupLogAndARestartRequestIsShown) {
    const std::wstring restart = L"Для завершения установки драйвера требуется перезагрузка компьютера";
    const std::wstring scriptFailed = L"Пакет обновления <U010124>: Install.cmd завершился с кодом 3";
    const struct {
        const char* code;
        bool scriptFails;
        std::vector<std::wstring> linesAfterDriver;
        InstallOutcome outcome;
    } cases[] = {
        {"0", false, {}, InstallOutcome::Completed},
        {"-1", false, {}, InstallOutcome::Completed},
        {"3010", false, {restart}, InstallOutcome::CompletedRestartNeeded},
        {"1641", true, {restart, scriptFailed}, InstallOutcome::CompletedWithFailures},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        SetupLogCapture log;
        RemoveTree(temp_.path());
        MakeFolder(temp_.path());
        Build();
        WriteFileBytes(package_ + L"FTDIDriverInstall\\FTDIDriverInstall.exitcode", c.code);
        if (c.scriptFails)
            WriteFileBytes(package_ + L"backup\\U010124\\Install.cmd", "@echo off\r\nexit /b 3\r\n");
        UseInstallFolder(install_);

        EXPECT_EQ(Run(), std::nullopt);
        EXPECT_EQ(Lines(),
                  DeploymentLines(Database::KeptAside) + kDriverLines + c.linesAfterDriver + kReadBackLines);
        const std::wstring ended = L"Driver installer ended with exit code " + FromUtf8(c.code);
        EXPECT_EQ(log.Find(ended), ended) << log.Dump();
        EXPECT_FALSE(log.Has(L"Driver installer not started"));
        EXPECT_EQ(view_.outcome, c.outcome);
    }
}

TEST_F(StepFailures, UpdateScriptExitCodeIsShownAndTheLevelStillRecorded) {
    SetupLogCapture log;
    Build();
    WriteFileBytes(package_ + L"backup\\U010124\\Install.cmd", "@echo off\r\nexit /b 3\r\n");

    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_EQ(Lines(),
              DeploymentLines(Database::KeptAside) + kDriverLines +
                  std::vector<std::wstring>{L"Пакет обновления <U010124>: Install.cmd завершился с кодом 3"} +
                  kReadBackLines);
    EXPECT_EQ(view_.events, kEventsOfAWholeRun);
    EXPECT_NE(ReadFileBytes(install_ + L"ReleaseInfo").find("<Level>010124</Level>"), std::string::npos)
        << "the level is the package's contract with the updater";
    EXPECT_TRUE(log.Has(L"Install.cmd of " + install_ + L"backup\\U010124 ended with exit code 3")) << log.Dump();
    EXPECT_TRUE(log.Has(L"Release level recorded: 010124"));
    EXPECT_TRUE(log.Has(L"Installation completed; problems shown on screen: 1"));
    EXPECT_EQ(view_.outcome, InstallOutcome::CompletedWithFailures);
}

}  // namespace
}  // namespace faults
