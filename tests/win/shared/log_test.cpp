// The shared log against real files: line order and cap, encodings, the
// additional log, failures and several threads at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/strings.h"
#include "base/text_encoding.h"
#include "base/text_file.h"
#include "shared/log_lines.h"
#include "shared/unitMyLog.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

// Records the event-log copies instead of the application event log.
std::mutex recorded_lock;
std::vector<std::wstring> recorded;

void Record(std::wstring_view text) {
    std::lock_guard guard(recorded_lock);
    recorded.emplace_back(text);
}

class Log : public testing::Test {
protected:
    void SetUp() override {
        recorded.clear();
        SetEventLogSink(Record);
    }
    void TearDown() override { SetEventLogSink(nullptr); }

    TempFolder temp;
};

std::vector<std::wstring> Lines(const std::wstring& path) {
    return SplitLines(ReadTextFile(path).text);
}

std::wstring NumberedLines(const wchar_t* prefix, int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) text += prefix + std::to_wstring(i) + L"\r\n";
    return text;
}

// The entry "DD.MM.YYYY HH:NN:SS: text" of the Russian regional settings the
// tests run under, stamped between before and after.
void ExpectEntry(const std::wstring& line, const std::wstring& text, const SYSTEMTIME& before,
                 const SYSTEMTIME& after) {
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(line, m, std::wregex(LR"(^(\d\d)\.(\d\d)\.(\d{4}) (\d\d):(\d\d):(\d\d): (.*)$)")))
        << testing::PrintToString(line);
    const auto key = [](int y, int mo, int d, int h, int mi, int s) {
        return ((((y * 100LL + mo) * 100 + d) * 100 + h) * 100 + mi) * 100 + s;
    };
    const long long stamp =
        key(std::stoi(m[3]), std::stoi(m[2]), std::stoi(m[1]), std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6]));
    EXPECT_GE(stamp, key(before.wYear, before.wMonth, before.wDay, before.wHour, before.wMinute, before.wSecond));
    EXPECT_LE(stamp, key(after.wYear, after.wMonth, after.wDay, after.wHour, after.wMinute, after.wSecond));
    EXPECT_EQ(m[7].str(), text);
}

bool EndsWith(const std::wstring& line, const std::wstring& text) {
    return line.ends_with(L": " + text);
}

TEST_F(Log, AnEmptyMessageGivesTheStampAlone) {
    const std::wstring path = temp / L"log.txt";
    TMyLog log;
    log.SetLogFileName(path);
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    log.AddMessage(L"", false);
    GetLocalTime(&after);
    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 23u);
    EXPECT_EQ(bytes.substr(19), ": \r\n");
    ExpectEntry(Lines(path).at(0), L"", before, after);
    EXPECT_EQ(recorded, std::vector<std::wstring>{L""});
}

TEST_F(Log, OnlyAddLogfileWithoutAnAdditionalLogTouchesNoFile) {
    const std::wstring path = temp / L"log.txt";
    WriteFileBytes(path, "old\r\n");
    TMyLog log;
    log.SetLogFileName(path);
    log.AddMessage(L"x", true);
    EXPECT_EQ(ReadFileBytes(path), "old\r\n");
    EXPECT_FALSE(PathExists(temp / L"TestHolter.log"));
    EXPECT_EQ(recorded, std::vector<std::wstring>{L"x"});  // the event-log copy still goes out
}

TEST_F(Log, ALongFileIsCutToItsNewestLinesBelowTheEntry) {
    const std::wstring path = temp / L"log.txt";
    WriteFileBytes(path, ToAnsi(NumberedLines(L"line ", 1200)));
    TMyLog log;
    log.SetLogFileName(path);
    log.AddMessage(L"new", false);
    const std::vector<std::wstring> lines = Lines(path);
    ASSERT_EQ(lines.size(), 1000u);
    EXPECT_TRUE(EndsWith(lines[0], L"new"));
    EXPECT_EQ(lines[1], L"line 0");
    EXPECT_EQ(lines[999], L"line 998");
}

TEST_F(Log, MessagesAppearInCallOrderNewestOnTop) {
    const std::wstring path = temp / L"log.txt";
    TMyLog log;
    log.SetLogFileName(path);
    log.AddMessage(L"first", false);
    log.AddMessage(L"second", false);
    const std::vector<std::wstring> lines = Lines(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], L"second"));
    EXPECT_TRUE(EndsWith(lines[1], L"first"));
    // "DD/MM/YYYY HH:NN:SS": on the same day the newer line's time is not earlier.
    if (lines[0].substr(0, 10) == lines[1].substr(0, 10)) {
        EXPECT_GE(lines[0].substr(11, 8), lines[1].substr(11, 8));
    }
}

TEST_F(Log, TheAdditionalLogKeepsItsOwnLinesAndTheSameCap) {
    const std::wstring main = temp / L"main.log";
    const std::wstring extra = temp / L"extra.log";
    WriteFileBytes(main, "m2\r\nm1\r\n");
    WriteFileBytes(extra, ToAnsi(NumberedLines(L"extra ", 1200)));
    TMyLog log;
    log.SetLogFileName(main);
    log.SetAddLogFileName(extra);

    log.AddMessage(L"both", false);
    std::vector<std::wstring> lines = Lines(main);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[0], L"both"));
    EXPECT_EQ(lines[1], L"m2");
    lines = Lines(extra);
    ASSERT_EQ(lines.size(), 1000u);
    EXPECT_TRUE(EndsWith(lines[0], L"both"));
    EXPECT_EQ(lines[1], L"extra 0");
    EXPECT_EQ(lines[999], L"extra 998");

    log.AddMessage(L"extra only", true);
    EXPECT_EQ(Lines(main).size(), 3u);
    EXPECT_TRUE(EndsWith(Lines(extra)[0], L"extra only"));

    // An empty name switches the additional log off.
    const std::string extra_bytes = ReadFileBytes(extra);
    log.SetAddLogFileName(L"");
    log.AddMessage(L"nowhere", true);
    EXPECT_EQ(ReadFileBytes(extra), extra_bytes);
    EXPECT_EQ(Lines(main).size(), 3u);
    EXPECT_EQ(recorded, (std::vector<std::wstring>{L"both", L"extra only", L"nowhere"}));
}

TEST_F(Log, ANewFileNameDropsTheOldLinesAndAMissingFileStartsEmpty) {
    const std::wstring old_path = temp / L"old.log";
    const std::wstring new_path = temp / L"new.log";
    WriteFileBytes(old_path, "a\r\nb\r\n");
    TMyLog log;
    log.SetLogFileName(old_path);
    log.SetLogFileName(new_path);
    log.AddMessage(L"single", false);
    const std::vector<std::wstring> lines = Lines(new_path);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(EndsWith(lines[0], L"single"));
    EXPECT_EQ(ReadFileBytes(old_path), "a\r\nb\r\n");
}

TEST_F(Log, AFileIsWrittenBackInTheEncodingItCameIn) {
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        const std::wstring path = temp / (L"log" + std::to_wstring(static_cast<int>(encoding)) + L".txt");
        WriteFileBytes(path, EncodeUnicode(L"старая строка\r\n", encoding));
        TMyLog log;
        log.SetLogFileName(path);
        log.AddMessage(L"новая \u20AC", false);
        const std::string bytes = ReadFileBytes(path);
        ASSERT_EQ(EncodingOfMark(bytes), encoding);
        const std::vector<std::wstring> lines =
            SplitLines(DecodeUnicode(std::string_view(bytes).substr(MarkLength(encoding)), encoding));
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(EndsWith(lines[0], L"новая \u20AC"));
        EXPECT_EQ(lines[1], L"старая строка");
    }
}

TEST_F(Log, FilesWithoutAMarkAndNewFilesAreInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1251u) << "the tests run under Russian regional settings";
    const std::wstring old_file = temp / L"ansi.log";
    WriteFileBytes(old_file, "\xF1\xF2\xE0\xF0\xE0\xFF\r\n");  // "старая"
    TMyLog log;
    log.SetLogFileName(old_file);
    log.AddMessage(L"новая", false);
    EXPECT_TRUE(ReadFileBytes(old_file).ends_with(": \xED\xEE\xE2\xE0\xFF\r\n\xF1\xF2\xE0\xF0\xE0\xFF\r\n"));

    const std::wstring new_file = temp / L"new.log";
    log.SetLogFileName(new_file);
    log.AddMessage(L"новая", false);
    EXPECT_TRUE(ReadFileBytes(new_file).ends_with(": \xED\xEE\xE2\xE0\xFF\r\n"));
}

TEST_F(Log, SeveralThreadsLoseNoLine) {
    const std::wstring path = temp / L"log.txt";
    TMyLog log;
    log.SetLogFileName(path);
    constexpr int kThreads = 4;
    constexpr int kEach = 60;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kEach; ++i)
                log.AddMessage(L"t" + std::to_wstring(t) + L" " + std::to_wstring(i), false);
        });
    for (std::thread& thread : threads) thread.join();

    const std::vector<std::wstring> lines = Lines(path);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kEach));
    for (int t = 0; t < kThreads; ++t) {
        // Each thread's messages are all there, its later ones above.
        int expected = kEach - 1;
        const std::wstring tag = L"t" + std::to_wstring(t) + L" ";
        for (const std::wstring& line : lines) {
            if (line.find(L": " + tag) != std::wstring::npos) {
                EXPECT_TRUE(EndsWith(line, tag + std::to_wstring(expected--)));
            }
        }
        EXPECT_EQ(expected, -1) << "thread " << t;
    }
    EXPECT_EQ(recorded.size(), static_cast<size_t>(kThreads * kEach));
}

TEST_F(Log, AnUnwritableFileRaisesAndKeepsTheLineForTheNextWrite) {
    const std::wstring folder = temp / L"not yet";
    const std::wstring path = folder + L"\\log.txt";
    const std::wstring extra = temp / L"extra.log";
    WriteFileBytes(extra, "kept\r\n");
    TMyLog log;
    log.SetLogFileName(path);
    log.SetAddLogFileName(extra);
    try {
        log.AddMessage(L"lost?", false);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.text().starts_with(L"Cannot create file \"" + path + L"\". ")) << e.what();
    }
    EXPECT_EQ(ReadFileBytes(extra), "kept\r\n");  // processed after the main log
    EXPECT_TRUE(recorded.empty());                // no event-log copy for the failed call

    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    log.AddMessage(L"next", false);  // the lock was released
    const std::vector<std::wstring> lines = Lines(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], L"next"));
    EXPECT_TRUE(EndsWith(lines[1], L"lost?"));
    EXPECT_EQ(Lines(extra).size(), 2u);
    EXPECT_EQ(recorded, std::vector<std::wstring>{L"next"});
}

TEST_F(Log, AFileThatCouldNotBeReadIsNeverOverwrittenUnseen) {
    const std::wstring path = temp / L"log.txt";
    WriteFileBytes(path, "older\r\n");
    TMyLog log;
    {
        // Another program holds the file open for itself.
        const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        log.SetLogFileName(path);
        EXPECT_THROW(log.AddMessage(L"while held", false), Error);
        CloseHandle(held);
    }
    EXPECT_EQ(ReadFileBytes(path), "older\r\n");
    log.AddMessage(L"after", false);
    const std::vector<std::wstring> lines = Lines(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[0], L"after"));
    EXPECT_TRUE(EndsWith(lines[1], L"while held"));
    EXPECT_EQ(lines[2], L"older");
}

TEST_F(Log, AByteArrayIsDumpedWholeOnOneLine) {
    const std::wstring path = temp / L"log.txt";
    TMyLog log;
    log.SetLogFileName(path);
    static TLogBytes bytes;
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7);
    log.AddByteArray(L"block:", bytes);
    const std::vector<std::wstring> lines = Lines(path);
    ASSERT_EQ(lines.size(), 1u);
    const std::wstring dump = lines[0].substr(lines[0].find(L": block:") + 8);
    ASSERT_EQ(dump.size(), 98304u);
    EXPECT_EQ(dump.substr(0, 12), L"00 07 0E 15 ");
    EXPECT_EQ(dump.substr(dump.size() - 3), L"F9 ");  // 32767 * 7 = 0x37FF9
}

TEST_F(Log, TheApplicationEventLogCopyIgnoresItsFailures) {
    SetEventLogSink(nullptr);
    const std::wstring path = temp / L"log.txt";
    TMyLog log;
    log.SetLogFileName(path);
    log.AddMessage(L"to the event log", false);
    log.AddMessage(std::wstring(40000, L'x'), false);  // longer than an event may be
    EXPECT_EQ(Lines(path).size(), 2u);
}

TEST_F(Log, ConstructionLoadsTestHolterLogBesideTheProgram) {
    const std::wstring path = JoinPath(ModuleFolder(), L"TestHolter.log");
    ASSERT_FALSE(PathExists(path));
    WriteFileBytes(path, "from an earlier run\r\n");
    struct Remove {
        std::wstring path;
        ~Remove() { DeleteFileW(path.c_str()); }
    } remove{path};
    TMyLog log;
    log.AddMessage(L"now", false);
    const std::vector<std::wstring> lines = Lines(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], L"now"));
    EXPECT_EQ(lines[1], L"from an earlier run");
    EXPECT_EQ(log.LogType, 0);
}

}  // namespace
