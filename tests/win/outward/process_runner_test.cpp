// Starting programs: command lines, working folders, exit codes, failures.
#include "engine/process_runner.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/error.h"
#include "base/file_system.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

// How record_start.exe was started; ran is false when it never ran.
struct StartRecord {
    bool ran = false;
    std::wstring commandLine;
    std::wstring currentFolder;
};

StartRecord ReadStartRecord(const std::wstring& exe) {
    const std::wstring record = exe + L".started";
    if (!PathExists(record)) return {};
    const std::string bytes = ReadFileBytes(record);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    const size_t lineEnd = text.find(L'\n');
    return {true, text.substr(0, lineEnd), text.substr(lineEnd + 1)};
}

// The exit code of a run that must have ended.
uint32_t ExitCode(const ProgramResult& run) {
    EXPECT_TRUE(run.ended()) << "started " << run.started << ", " << ToUtf8(run.error.action()) << ": error "
                             << run.error.code();
    return run.exitCode;
}

// A copy of the stand-in program at path.
void PlaceStandIn(const std::wstring& path) {
    ASSERT_TRUE(CopyFileW(JoinPath(ModuleFolder(), L"record_start.exe").c_str(), path.c_str(), FALSE));
}

class ProcessRunnerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateDirectoryW(blanks_.c_str(), nullptr)); }
    TempFolder temp_;
    const std::wstring blanks_ = temp_ / L"a b";  // a folder with a blank in its name
};

TEST_F(ProcessRunnerTest, RunAndWaitQuotesTheProgramRunsItInItsFolderAndReturnsItsExitCode) {
    const std::wstring program = blanks_ + L"\\prog.exe";
    PlaceStandIn(program);
    EXPECT_EQ(ExitCode(RunAndWait(program, L"x  \"y z\"", SW_HIDE)), 7u);
    const StartRecord record = ReadStartRecord(program);
    ASSERT_TRUE(record.ran);
    EXPECT_EQ(record.commandLine, L"\"" + program + L"\" x  \"y z\"");
    EXPECT_EQ(record.currentFolder, blanks_);
}

// A script's standard output and error are caught, in order, up to the
// cap; it has no keyboard, so a pause waits for nobody.
TEST_F(ProcessRunnerTest, AScriptsConsoleOutputIsCaughtUpToTheCapAndAPauseWaitsForNobody) {
    const std::wstring script = blanks_ + L"\\Install.cmd";
    WriteFileBytes(script,
                   "@echo off\r\necho first\r\necho second 1>&2\r\npause\r\n"
                   "for /L %%i in (1,1,500) do echo line %%i of many\r\nexit /b 4\r\n");
    ConsoleCapture console(1024);
    ASSERT_TRUE(console.error().ok()) << ToUtf8(console.error().action());
    EXPECT_EQ(ExitCode(RunAndWait(script, L"", SW_HIDE, &console)), 4u);
    const CappedOutput output = console.Finish();
    const std::vector<std::string> lines = output.Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], "second ");
    EXPECT_EQ(output.kept().size(), 1024u);
    EXPECT_GT(output.cut(), 5000u) << "500 lines of about 17 bytes";
    EXPECT_FALSE(console.stillOpen());
}

// A program the script starts and leaves running holds the script's output
// open: what came is read, and the run goes on without waiting for it.
TEST_F(ProcessRunnerTest, AProgramTheScriptLeavesRunningDoesNotHoldTheRunUp) {
    const std::wstring holder = blanks_ + L"\\holder.exe";
    ASSERT_TRUE(CopyFileW(JoinPath(ModuleFolder(), L"console_holder.exe").c_str(), holder.c_str(), FALSE));
    const std::wstring script = blanks_ + L"\\Install.cmd";
    WriteFileBytes(script, "@echo off\r\necho before\r\nstart \"\" /b holder.exe 8000\r\necho after\r\n");
    ConsoleCapture console(1024);
    EXPECT_EQ(ExitCode(RunAndWait(script, L"", SW_HIDE, &console)), 0u);
    const CappedOutput output = console.Finish();
    EXPECT_FALSE(PathExists(holder + L".ended")) << "the run waited for the program the script left running";
    EXPECT_TRUE(console.stillOpen());
    EXPECT_EQ(output.Lines(), (std::vector<std::string>{"before", "after"}));
    // Its folder is removed after it ends.
    for (int wait = 0; wait < 100 && !PathExists(holder + L".ended"); ++wait) Sleep(100);
    Sleep(200);
}

TEST_F(ProcessRunnerTest, ScriptsInFoldersWithBlanksRunAndPlantedProgramsDoNot) {
    const std::wstring script = blanks_ + L"\\Install.cmd";
    WriteFileBytes(script, "@echo ran> ran.txt\r\n@exit /b 3\r\n");
    // Where an unquoted command line would look first.
    const std::wstring planted = temp_ / L"a.exe";
    PlaceStandIn(planted);

    EXPECT_EQ(ExitCode(RunAndWait(script, L"", SW_HIDE)), 3u);
    EXPECT_TRUE(PathExists(blanks_ + L"\\ran.txt"));
    EXPECT_FALSE(ReadStartRecord(planted).ran);

    EXPECT_EQ(ExitCode(StartProgram(L"\"" + script + L"\"", SW_HIDE, true)), 3u);
    EXPECT_FALSE(ReadStartRecord(planted).ran);

    // The danger is real here: the same line unquoted starts the plant.
    StartProgram(script, SW_HIDE, true);
    EXPECT_TRUE(ReadStartRecord(planted).ran);
}

TEST_F(ProcessRunnerTest, LongCommandLinesArePassedWhole) {
    const std::wstring program = blanks_ + L"\\prog.exe";
    PlaceStandIn(program);
    const std::wstring parameters(600, L'p');
    EXPECT_EQ(ExitCode(RunAndWait(program, parameters, SW_HIDE)), 7u);
    EXPECT_EQ(ReadStartRecord(program).commandLine, L"\"" + program + L"\" " + parameters);

    const std::wstring commandLine = L"\"" + program + L"\" " + std::wstring(300, L's');
    EXPECT_EQ(ExitCode(StartProgram(commandLine, SW_HIDE, true)), 7u);
    EXPECT_EQ(ReadStartRecord(program).commandLine, commandLine);
}

TEST_F(ProcessRunnerTest, StartProgramRunsInTheCurrentFolderAndWaitsOrNot) {
    const std::wstring program = blanks_ + L"\\prog.exe";
    PlaceStandIn(program);
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(temp_.path().c_str()));
    const ProgramResult run = StartProgram(L"\"" + program + L"\"", SW_HIDE, true);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(ExitCode(run), 7u);
    EXPECT_EQ(ReadStartRecord(program).currentFolder + L"\\", temp_.path());

    DeleteFileW((program + L".started").c_str());
    EXPECT_TRUE(StartProgram(L"\"" + program + L"\"", SW_HIDE, false).started);
    bool ran = false;
    for (int i = 0; i < 500 && !ran; ++i, Sleep(20)) ran = ReadStartRecord(program).ran;
    EXPECT_TRUE(ran) << "started without waiting";
}

TEST_F(ProcessRunnerTest, StartProgramRunsInTheFolderItIsGiven) {
    const std::wstring program = blanks_ + L"\\prog.exe";
    PlaceStandIn(program);
    EXPECT_EQ(ExitCode(StartProgram(L"\"" + program + L"\"", SW_HIDE, true, blanks_)), 7u);
    EXPECT_EQ(ReadStartRecord(program).currentFolder, blanks_);
}

// A hidden top-level window of this thread that notes what reaches it.
class ListeningWindow {
public:
    ListeningWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ProcessRunnerTestListener";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ListeningWindow() { DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    bool posted = false;
    std::wstring settingChange;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<ListeningWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_APP) self->posted = true;
        if (self && msg == WM_SETTINGCHANGE && lp) self->settingChange = reinterpret_cast<const wchar_t*>(lp);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    HWND hwnd_ = nullptr;
};

// A started program that sends a broadcast waits for every window to answer,
// ours included: both starters dispatch this thread's messages meanwhile,
// and a quit request that arrived stays for the main loop.
TEST_F(ProcessRunnerTest, WaitingAnswersTheProgramsBroadcastAndKeepsAQuitRequest) {
    const std::wstring program = blanks_ + L"\\setting.exe";
    ASSERT_TRUE(CopyFileW(JoinPath(ModuleFolder(), L"broadcasting_driver.exe").c_str(), program.c_str(), FALSE));
    for (bool viaRunAndWait : {true, false}) {
        SCOPED_TRACE(viaRunAndWait ? "RunAndWait" : "StartProgram");
        DeleteFileW((program + L".answered").c_str());
        DeleteFileW((program + L".unanswered").c_str());
        ListeningWindow window;
        ASSERT_TRUE(window.hwnd());
        PostMessageW(window.hwnd(), WM_APP, 0, 0);
        PostQuitMessage(5);

        const ProgramResult run = viaRunAndWait ? RunAndWait(program, L"", SW_HIDE)
                                                : StartProgram(L"\"" + program + L"\"", SW_HIDE, true);
        EXPECT_EQ(ExitCode(run), 0u);
        EXPECT_TRUE(PathExists(program + L".answered")) << "every window answered within its 10 seconds";
        EXPECT_TRUE(window.posted);
        EXPECT_EQ(window.settingChange, L"Environment");
        MSG msg{};
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
        EXPECT_EQ(msg.wParam, 5u);
    }
}

// A start that fails carries CreateProcessW's own code; a program that ran
// and exited with -1 is a program that ended, not one that never started.
TEST_F(ProcessRunnerTest, FailedStartsCarryTheStartsCodeAndExitCodesAreNotMistakenForThem) {
    const std::wstring program = blanks_ + L"\\prog.exe";
    PlaceStandIn(program);
    const std::wstring missing = blanks_ + L"\\missing.exe";
    const std::wstring notAProgram = blanks_ + L"\\text.exe";
    WriteFileBytes(notAProgram, "not a program\r\n");
    const std::wstring minusOne = blanks_ + L"\\minus one.cmd";
    WriteFileBytes(minusOne, "@exit /b -1\r\n");
    struct Case {
        const char* what;
        ProgramResult run;
        bool started;
        uint32_t code;  // the failing call's, or the exit code of a program that ended
    };
    const Case cases[] = {
        {"RunAndWait, missing program", RunAndWait(missing, L"", SW_HIDE), false, ERROR_FILE_NOT_FOUND},
        {"RunAndWait, not a program", RunAndWait(notAProgram, L"", SW_HIDE), false, ERROR_BAD_EXE_FORMAT},
        {"RunAndWait, exit code -1", RunAndWait(minusOne, L"", SW_HIDE), true, 0xFFFFFFFFu},
        {"StartProgram, missing program", StartProgram(L"\"" + missing + L"\"", SW_HIDE, true), false,
         ERROR_FILE_NOT_FOUND},
        {"StartProgram, missing folder", StartProgram(L"\"" + program + L"\"", SW_HIDE, true, temp_ / L"missing"),
         false, StartFailureCode(L"\"" + program + L"\"", temp_ / L"missing")},
        {"StartProgram, exit code -1", StartProgram(L"\"" + minusOne + L"\"", SW_HIDE, true), true, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.run.started, c.started);
        EXPECT_EQ(c.run.ended(), c.started);
        EXPECT_EQ(c.started ? c.run.exitCode : c.run.error.code(), c.code) << ToUtf8(c.run.error.action());
    }
    EXPECT_EQ(RunAndWaitError(missing, cases[0].run).text(), L"ia niia nicaaou i?ioann: " + missing);
    EXPECT_FALSE(ReadStartRecord(program).ran);
}

TEST_F(ProcessRunnerTest, ShowStatesBeyondSixteenBitsAreRefusedBeforeAnyStart) {
    const std::wstring program = blanks_ + L"\\prog.exe";
    PlaceStandIn(program);
    try {
        StartProgram(L"\"" + program + L"\"", 65536, true);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Range check error");
    }
    EXPECT_FALSE(ReadStartRecord(program).ran);
}

TEST_F(ProcessRunnerTest, HandlesAreClosedAfterRunsAndFailures) {
    const std::wstring program = blanks_ + L"\\prog.exe";
    PlaceStandIn(program);
    RunAndWait(program, L"", SW_HIDE);  // first start loads what process creation needs
    DWORD before = 0, after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    RunAndWait(program, L"", SW_HIDE);
    StartProgram(L"\"" + program + L"\"", SW_HIDE, true);
    EXPECT_FALSE(RunAndWait(blanks_ + L"\\missing.exe", L"", SW_HIDE).started);
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_EQ(after, before);
}

}  // namespace
