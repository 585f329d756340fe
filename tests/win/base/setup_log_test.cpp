// The setup log written for real into a folder of the test's own.
#include "base/setup_log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/system_error.h"
#include "base/utf8.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

// The name's date and time part, "YYYY-MM-DD HH-MM-SS", as digits only.
bool IsLogName(const std::wstring& name) {
    const std::wstring pattern = L"VelmoraSetup 0000-00-00 00-00-00.log";
    if (name.size() != pattern.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (pattern[i] == L'0' ? !iswdigit(name[i]) : name[i] != pattern[i]) return false;
    return true;
}

class SetupLogTest : public testing::Test {
protected:
    void TearDown() override { setup_log::Close(); }
    TempFolder temp_;
};

TEST_F(SetupLogTest, OneTimedLineAnEventInUtf8WithCrLfWrittenThroughAtOnce) {
    ASSERT_TRUE(setup_log::Open(temp_.path()));
    const std::wstring path = setup_log::Path();
    ASSERT_EQ(path.rfind(temp_.path(), 0), 0u);
    EXPECT_TRUE(IsLogName(path.substr(temp_.path().size()))) << ToUtf8(path);

    setup_log::Write(L"Progress: Шрифт <DejaVu Sans> уcтановлен");
    // Read while the log is still open: nothing waits in a buffer.
    const std::string first = ReadFileBytes(path);
    setup_log::WriteError(L"Not copied: C:\\a.txt", ERROR_ACCESS_DENIED);
    setup_log::Write(L"two\r\nlines");
    setup_log::Close();
    setup_log::Write(L"after the end");

    const std::string text = ReadFileBytes(path);
    ASSERT_EQ(text.compare(0, 3, "\xEF\xBB\xBF"), 0) << "byte-order mark";
    EXPECT_EQ(text.compare(0, first.size(), first), 0);
    const std::string events[] = {
        ToUtf8(L"Progress: Шрифт <DejaVu Sans> уcтановлен"),
        ToUtf8(L"Not copied: C:\\a.txt: error 5: " + SystemErrorText(ERROR_ACCESS_DENIED)),
        "two  lines",
    };
    size_t at = 3;
    for (const std::string& event : events) {
        const size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << event;
        const std::string line = text.substr(at, end - at);
        // "2026-12-10 13:01:36.123  " leads every line.
        ASSERT_GE(line.size(), 25u) << line;
        EXPECT_TRUE(isdigit(line[0]) && line[4] == '-' && line[10] == ' ' && line[13] == ':' && line[19] == '.')
            << line;
        EXPECT_EQ(line.substr(25), event);
        at = end + 2;
    }
    EXPECT_EQ(at, text.size()) << "nothing after Close";
    EXPECT_EQ(first.find("\r\n"), first.size() - 2) << "the first event was on disk before the second";
}

TEST_F(SetupLogTest, TwoRunsInOneSecondKeepTwoLogs) {
    ASSERT_TRUE(setup_log::Open(temp_.path()));
    const std::wstring first = setup_log::Path();
    setup_log::Write(L"first run");
    ASSERT_TRUE(setup_log::Open(temp_.path()));
    const std::wstring second = setup_log::Path();
    setup_log::Write(L"second run");
    setup_log::Close();
    ASSERT_NE(first, second);
    EXPECT_NE(ReadFileBytes(first).find("first run"), std::string::npos);
    EXPECT_NE(ReadFileBytes(second).find("second run"), std::string::npos);
}

TEST_F(SetupLogTest, AFolderThatCannotTakeTheLogLeavesEventsDropped) {
    EXPECT_FALSE(setup_log::Open(temp_ / L"missing\\folder"));
    EXPECT_EQ(setup_log::Path(), L"");
    setup_log::Write(L"dropped");
    setup_log::WriteError(L"dropped", ERROR_DISK_FULL);
}

}  // namespace

namespace {

// /LOG=: one file for the logs of several runs; each run adds its lines
// after the earlier ones, with one byte-order mark at the very start.
TEST_F(SetupLogTest, ANamedLogFileIsMadeOnceAndAddedToByLaterRuns) {
    const std::wstring path = temp_ / L"deploy.log";
    for (const wchar_t* run : {L"first run", L"second run"}) {
        ASSERT_TRUE(setup_log::OpenFile(path));
        EXPECT_EQ(setup_log::Path(), path);
        setup_log::Write(run);
        setup_log::Close();
    }
    const std::string text = ReadFileBytes(path);
    ASSERT_EQ(text.compare(0, 3, "\xEF\xBB\xBF"), 0);
    EXPECT_EQ(text.find("\xEF\xBB\xBF", 3), std::string::npos);
    const size_t first = text.find("first run\r\n");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find("second run\r\n", first), std::string::npos) << text;
}

// A deployment tool names a log folder that no PC has yet: it is made. A
// folder that cannot be made (a file has its name) fails the open, with the
// code of the file's open: the path's folder is not there.
TEST_F(SetupLogTest, ANamedLogFileGetsItsMissingFolders) {
    const std::wstring path = temp_ / L"logs\\клиника\\deploy.log";
    ASSERT_TRUE(setup_log::OpenFile(path));
    setup_log::Write(L"into new folders");
    setup_log::Close();
    EXPECT_NE(ReadFileBytes(path).find("into new folders\r\n"), std::string::npos);

    WriteFileBytes(temp_ / L"taken", "a file, not a folder");
    const Result<> refused = setup_log::OpenFile(temp_ / L"taken\\deploy.log");
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.action(), L"Log file not opened: " + temp_ / L"taken\\deploy.log");
    EXPECT_EQ(refused.code(), static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(setup_log::Path(), L"");
}

}  // namespace
