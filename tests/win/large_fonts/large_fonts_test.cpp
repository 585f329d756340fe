// The large-font check, the font-size change and the restart request, run
// for real except the final ExitWindowsEx, which a test never calls.
#include "app/large_fonts.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "tests/e2e/screen_dpi.h"
#include "tests/kit/file_util.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"

namespace {

constexpr wchar_t kReportVariable[] = L"VH_SMALL_FONTS_REPORT";

// Runs as a child of the next test: writes what IsSmallFonts says in a
// process started at the resolution that test set.
TEST(IsSmallFonts, ReportToTheParent) {
    const char* report = std::getenv("VH_SMALL_FONTS_REPORT");
    if (!report) GTEST_SKIP() << "runs as a child of IsSmallFonts.FollowsTheResolutionOfTheScreen";
    SetProcessDPIAware();  // as the installer's manifest declares
    WriteFileBytes(FromUtf8(report), IsSmallFonts() ? "small" : "large");
}

TEST(IsSmallFonts, FollowsTheResolutionOfTheScreen) {
    struct {
        DWORD dpi;
        const char* fonts;
    } const cases[] = {{96, "small"}, {99, "small"}, {100, "large"}, {120, "large"}, {144, "large"}};
    TempFolder temp;
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    for (const auto& c : cases) {
        const std::wstring report = temp / (L"report" + std::to_wstring(c.dpi));
        ScreenDpiForNewProcesses screen(c.dpi);
        SetEnvironmentVariableW(kReportVariable, report.c_str());
        std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=IsSmallFonts.ReportToTheParent";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        const BOOL started =
            CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        SetEnvironmentVariableW(kReportVariable, nullptr);
        ASSERT_TRUE(started);
        ScopedHandle process(pi.hProcess), thread(pi.hThread);
        ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
        EXPECT_EQ(ReadFileBytes(report), c.fonts) << c.dpi << " dots per inch";
    }
}

// The current folder, changed for one test.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& folder) {
        wchar_t old[MAX_PATH];
        previous_.assign(old, GetCurrentDirectoryW(MAX_PATH, old));
        SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryW(previous_.c_str()); }

private:
    std::wstring previous_;
};

TEST(ChangeFontSize, NeverRunsASyssetupPlantedOutsideTheSystemFolder) {
    wchar_t system[MAX_PATH];
    const std::wstring systemCopy =
        std::wstring(system, GetSystemDirectoryW(system, MAX_PATH)) + L"\\syssetup.dll";
    if (PathExists(systemCopy))
        GTEST_SKIP() << "this system has its own syssetup.dll; the test would change its fonts";

    TempFolder temp;
    ASSERT_TRUE(CopyFileW(JoinPath(ModuleFolder(), L"planted_syssetup.dll").c_str(),
                          (temp / L"syssetup.dll").c_str(), FALSE));
    CurrentFolder inPlantedFolder(temp.path());
    ChangeFontSize();
    EXPECT_FALSE(PathExists(temp / L"planted_dll_loaded"));
    EXPECT_FALSE(PathExists(temp / L"planted_dll_called"));
    EXPECT_FALSE(GetModuleHandleW(L"syssetup.dll"));

    // The plant is real: a plain load from here would have run it.
    HMODULE careless = LoadLibraryW(L"syssetup.dll");
    EXPECT_TRUE(careless);
    EXPECT_TRUE(PathExists(temp / L"planted_dll_loaded"));
    if (careless) FreeLibrary(careless);
}

// Records the restart request instead of ending the logon.
struct RestartRequest {
    int calls = 0;
    UINT flags = 0;
    DWORD reason = 0;
    bool privilegeEnabled = false;
    BOOL answer = TRUE;
    DWORD refusal = ERROR_SUCCESS;  // the last error a refusal leaves
};
RestartRequest request;

bool ShutdownPrivilegeEnabled() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return false;
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Control = PRIVILEGE_SET_ALL_NECESSARY;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &set.Privilege[0].Luid)) return false;
    BOOL enabled = FALSE;
    return PrivilegeCheck(token.get(), &set, &enabled) && enabled;
}

void SetShutdownPrivilege(bool enabled) {
    ScopedHandle token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive()));
    TOKEN_PRIVILEGES p{};
    p.PrivilegeCount = 1;
    p.Privileges[0].Attributes = enabled ? SE_PRIVILEGE_ENABLED : 0;
    ASSERT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &p.Privileges[0].Luid));
    ASSERT_TRUE(AdjustTokenPrivileges(token.get(), FALSE, &p, 0, nullptr, nullptr));
}

BOOL WINAPI RecordRestart(UINT flags, DWORD reason) {
    ++request.calls;
    request.flags = flags;
    request.reason = reason;
    request.privilegeEnabled = ShutdownPrivilegeEnabled();
    if (!request.answer) SetLastError(request.refusal);
    return request.answer;
}

class ShutdownWindowsTest : public testing::Test {
protected:
    void SetUp() override {
        previous_ = ExitWindowsHook;
        ExitWindowsHook = RecordRestart;
        request = {};
    }
    void TearDown() override { ExitWindowsHook = previous_; }
    ExitWindowsFunction previous_ = nullptr;
};

TEST_F(ShutdownWindowsTest, EnablesThePrivilegeThenAsksForAPlannedRestart) {
    SetShutdownPrivilege(false);
    ASSERT_FALSE(ShutdownPrivilegeEnabled());
    EXPECT_TRUE(ShutdownWindows(kRestartFlags));
    EXPECT_EQ(request.calls, 1);
    EXPECT_TRUE(request.privilegeEnabled) << "enabled before the request";
    EXPECT_EQ(request.flags, static_cast<UINT>(EWX_REBOOT | EWX_FORCEIFHUNG));
    EXPECT_FALSE(request.flags & EWX_FORCE) << "never forces programs that still answer";
    EXPECT_EQ(request.reason, static_cast<DWORD>(SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION |
                                                 SHTDN_REASON_FLAG_PLANNED));
}

TEST_F(ShutdownWindowsTest, ReportsWhetherWindowsAcceptedAndPassesFlagsOn) {
    struct {
        UINT flags;
        BOOL answer;
        bool result;
    } const cases[] = {{kRestartFlags, FALSE, false}, {EWX_LOGOFF, TRUE, true}, {EWX_SHUTDOWN, 5, true}};
    for (const auto& c : cases) {
        request.answer = c.answer;
        EXPECT_EQ(ShutdownWindows(c.flags).ok(), c.result) << c.flags;
        EXPECT_EQ(request.flags, c.flags);
    }
}

// A restart that Windows refuses is never left unsaid: the user learns why
// and is asked to restart by hand; the setup log keeps the reason.
TEST_F(ShutdownWindowsTest, RefusedRestartGivesTheReasonAndAsksForARestartByHand) {
    const SetupLogCapture log;
    request.answer = FALSE;
    request.refusal = ERROR_PRIVILEGE_NOT_HELD;
    EXPECT_EQ(RequestRestart(), L"Не удалось перезагрузить компьютер: " +
                                    SystemErrorText(ERROR_PRIVILEGE_NOT_HELD) +
                                    L".\r\nПерезагрузите компьютер вручную, чтобы изменения вступили в силу.");
    EXPECT_EQ(request.flags, kRestartFlags);
    EXPECT_EQ(log.Find(L"Restart refused by Windows"),
              L"Restart refused by Windows: error 1314: " + SystemErrorText(ERROR_PRIVILEGE_NOT_HELD))
        << log.Dump();

    request.answer = TRUE;
    EXPECT_EQ(RequestRestart(), L"");
    EXPECT_TRUE(log.Has(L"Restart requested; Windows accepted"));
}

}  // namespace
