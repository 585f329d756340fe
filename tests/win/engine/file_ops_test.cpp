// The file and folder operations on real files in temporary folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "base/error.h"
#include "base/handles.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/file_ops.h"
#include "tests/kit/file_util.h"
#include "tests/kit/own_box.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/tagged_entries.h"
#include "tests/kit/temp_folder.h"
#include "tests/kit/tree_outcomes.h"

namespace {

DWORD AttributesOf(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

void AddAttributes(const std::wstring& path, DWORD bits) {
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), AttributesOf(path) | bits));
}

void MakeFolder(const std::wstring& path) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
}

void SetLocalWriteTime(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute,
                       WORD second) {
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0};
    FILETIME localTime, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    ScopedHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(file);
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &utc));
}

SYSTEMTIME LocalWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME local;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    SYSTEMTIME t{};
    FileTimeToSystemTime(&local, &t);
    return t;
}

uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

// Whether CopyFileW refuses to replace a file carrying attribute.
bool PlatformRefusesToReplace(const TempFolder& temp, DWORD attribute) {
    const std::wstring source = temp / L"probe source";
    const std::wstring target = temp / L"probe target";
    WriteFileBytes(source, "new");
    WriteFileBytes(target, "old");
    SetFileAttributesW(target.c_str(), attribute);
    const bool refused = !CopyFileW(source.c_str(), target.c_str(), FALSE);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(target.c_str());
    DeleteFileW(source.c_str());
    return refused;
}

std::wstring ErrorText(std::wstring_view kind, const std::wstring& path, DWORD code) {
    return std::wstring(kind) + L" \"" + path + L"\". " + SystemErrorText(code);
}

class FileOpsTest : public testing::Test {
protected:
    TempFolder temp_;
};

TEST_F(FileOpsTest, EnsureDirectoryMakesOneLevelAndIgnoresFailures) {
    EnsureDirectory(temp_ / L"new");
    EXPECT_TRUE(AttributesOf(temp_ / L"new") & FILE_ATTRIBUTE_DIRECTORY);
    EnsureDirectory(temp_ / L"with slash\\");
    EXPECT_TRUE(AttributesOf(temp_ / L"with slash") & FILE_ATTRIBUTE_DIRECTORY);

    EnsureDirectory(temp_ / L"missing\\child");
    EXPECT_FALSE(PathExists(temp_ / L"missing"));

    WriteFileBytes(temp_ / L"new\\kept.txt", "kept");
    EnsureDirectory(temp_ / L"new");
    EXPECT_EQ(ReadFileBytes(temp_ / L"new\\kept.txt"), "kept");

    WriteFileBytes(temp_ / L"taken", "a file");
    EnsureDirectory(temp_ / L"taken");
    EXPECT_EQ(ReadFileBytes(temp_ / L"taken"), "a file");
}

TEST_F(FileOpsTest, ListSubfoldersTakesOrdinaryFoldersOnlyAndAppends) {
    // The platform under test may not hold two names that differ in case
    // in one folder, so each spelling of "WithOutAnswer" gets its own.
    const std::wstring exact = temp_ / L"exact\\";
    const std::wstring other = temp_ / L"other\\";
    MakeFolder(exact);
    MakeFolder(other);
    MakeFolder(exact + L"A");
    MakeFolder(exact + L"WithOutAnswer");
    MakeFolder(exact + L"Hidden");
    AddAttributes(exact + L"Hidden", FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(exact + L"System");
    AddAttributes(exact + L"System", FILE_ATTRIBUTE_SYSTEM);
    WriteFileBytes(exact + L"file.txt", "");
    MakeFolder(other + L"withoutanswer");
    MakeFolder(other + L"B");

    std::vector<std::wstring> list = {L"already there"};
    ListSubfolders(exact, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], L"already there");
    EXPECT_EQ(list[1], exact + L"A");

    list.clear();
    ListSubfolders(other, list);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::wstring>{other + L"B", other + L"withoutanswer"}));

    list.clear();
    ListSubfolders(temp_ / L"missing\\", list);
    EXPECT_TRUE(list.empty());
}

TEST_F(FileOpsTest, CopyFolderTreeCopiesEveryFileButSkipsHiddenAndSystemFolders) {
    const std::wstring src = temp_ / L"src";
    MakeFolder(src);
    WriteFileBytes(src + L"\\plain.txt", "plain");
    SetLocalWriteTime(src + L"\\plain.txt", 2021, 5, 4, 10, 15, 37);
    WriteFileBytes(src + L"\\hidden.txt", "hidden");
    AddAttributes(src + L"\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    WriteFileBytes(src + L"\\read-only.txt", "read-only");
    AddAttributes(src + L"\\read-only.txt", FILE_ATTRIBUTE_READONLY);
    MakeFolder(src + L"\\sub");
    MakeFolder(src + L"\\sub\\deep");
    WriteFileBytes(src + L"\\sub\\deep\\x.txt", "deep");
    MakeFolder(src + L"\\empty");
    MakeFolder(src + L"\\hidden folder");
    WriteFileBytes(src + L"\\hidden folder\\h.txt", "h");
    AddAttributes(src + L"\\hidden folder", FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(src + L"\\system folder");
    WriteFileBytes(src + L"\\system folder\\s.txt", "s");
    AddAttributes(src + L"\\system folder", FILE_ATTRIBUTE_SYSTEM);

    const std::wstring dst = temp_ / L"out\\nested";
    HeardOutcomes heard(src, dst);
    CopyFolderTree(src, dst, heard.Sink());
    EXPECT_EQ(heard.heard(), (std::map<std::string, std::string>{{"plain.txt", "copied"},
                                                                 {"hidden.txt", "copied"},
                                                                 {"read-only.txt", "copied"},
                                                                 {"sub\\deep\\x.txt", "copied"}}));

    EXPECT_EQ(ReadFileBytes(dst + L"\\plain.txt"), "plain");
    const SYSTEMTIME t = LocalWriteTime(dst + L"\\plain.txt");
    EXPECT_EQ(t.wYear * 10000 + t.wMonth * 100 + t.wDay, 20210504);
    EXPECT_EQ(t.wHour * 10000 + t.wMinute * 100 + t.wSecond, 101537) << "the platform's copy keeps the time";
    EXPECT_EQ(ReadFileBytes(dst + L"\\hidden.txt"), "hidden");
    EXPECT_TRUE(AttributesOf(dst + L"\\hidden.txt") & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(AttributesOf(dst + L"\\read-only.txt") & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReadFileBytes(dst + L"\\sub\\deep\\x.txt"), "deep");
    EXPECT_TRUE(AttributesOf(dst + L"\\empty") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(PathExists(dst + L"\\hidden folder"));
    EXPECT_FALSE(PathExists(dst + L"\\system folder"));
}

TEST_F(FileOpsTest, CopyFolderTreeFromMissingSourceMakesTheEmptyDestination) {
    CopyFolderTree(temp_ / L"missing", temp_ / L"a\\b");
    EXPECT_TRUE(AttributesOf(temp_ / L"a\\b") & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FileOpsTest, CopyFolderTreeReplacesSameNamesAndLeavesOthers) {
    MakeFolder(temp_ / L"src");
    MakeFolder(temp_ / L"dst");
    WriteFileBytes(temp_ / L"src\\same.txt", "new");
    WriteFileBytes(temp_ / L"dst\\same.txt", "old and longer");
    WriteFileBytes(temp_ / L"dst\\other.txt", "other");
    CopyFolderTree(temp_ / L"src", temp_ / L"dst");
    EXPECT_EQ(ReadFileBytes(temp_ / L"dst\\same.txt"), "new");
    EXPECT_EQ(ReadFileBytes(temp_ / L"dst\\other.txt"), "other");
}

// Windows refuses to replace read-only and hidden files. Wine replaces hidden
// ones, and read-only ones too when run as root: those cases are checked
// only where the platform refuses.
TEST_F(FileOpsTest, CopyFolderTreeKeepsDestinationFilesThePlatformRefusesToReplace) {
    MakeFolder(temp_ / L"src");
    MakeFolder(temp_ / L"dst");
    int checked = 0;
    for (DWORD attribute : {DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_HIDDEN}}) {
        const std::wstring name = std::to_wstring(attribute) + L".txt";
        WriteFileBytes(temp_ / L"src\\" + name, "new");
        WriteFileBytes(temp_ / L"dst\\" + name, "old");
        AddAttributes(temp_ / L"dst\\" + name, attribute);
        if (!PlatformRefusesToReplace(temp_, attribute)) continue;
        HeardOutcomes heard(temp_ / L"src", temp_ / L"dst");
        const TreeCopy copy = CopyFolderTree(temp_ / L"src", temp_ / L"dst", heard.Sink());
        EXPECT_EQ(ReadFileBytes(temp_ / L"dst\\" + name), "old") << "attribute " << attribute;
        EXPECT_EQ(heard.heard().at(ToUtf8(name)), "kept") << "attribute " << attribute;
        EXPECT_EQ(copy.kept, 1) << "attribute " << attribute << ": counted, so the screen can say so";
        EXPECT_EQ(copy.notCopied, 0) << "attribute " << attribute;
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "this platform replaces read-only and hidden files (Wine run as root); the unprivileged "
                        "run covers this";
}

// Files that cannot be copied are counted, every other file still copied,
// and each one named in the setup log with the system's reason.
TEST_F(FileOpsTest, CopyFolderTreeCountsTheFilesItCouldNotCopy) {
    const SetupLogCapture log;
    MakeFolder(temp_ / L"src");
    MakeFolder(temp_ / L"src\\sub");
    WriteFileBytes(temp_ / L"src\\a.txt", "a");
    WriteFileBytes(temp_ / L"src\\blocked.txt", "b");
    WriteFileBytes(temp_ / L"src\\sub\\blocked too.txt", "c");
    WriteFileBytes(temp_ / L"src\\sub\\d.txt", "d");
    // Folders standing where the files should go.
    MakeFolder(temp_ / L"dst");
    MakeFolder(temp_ / L"dst\\blocked.txt");
    MakeFolder(temp_ / L"dst\\sub");
    MakeFolder(temp_ / L"dst\\sub\\blocked too.txt");

    HeardOutcomes heard(temp_ / L"src", temp_ / L"dst");
    EXPECT_EQ(CopyFolderTree(temp_ / L"src", temp_ / L"dst", heard.Sink()).notCopied, 2);
    EXPECT_EQ(heard.heard(), (std::map<std::string, std::string>{{"a.txt", "copied"},
                                                                 {"blocked.txt", "not copied"},
                                                                 {"sub\\blocked too.txt", "not copied"},
                                                                 {"sub\\d.txt", "copied"}}));
    EXPECT_EQ(ReadFileBytes(temp_ / L"dst\\a.txt"), "a");
    EXPECT_EQ(ReadFileBytes(temp_ / L"dst\\sub\\d.txt"), "d");
    const std::wstring logged = log.Find(L"Not copied: " + temp_ / L"src\\sub\\blocked too.txt -> " +
                                         temp_ / L"dst\\sub\\blocked too.txt: error ");
    EXPECT_FALSE(logged.empty()) << log.Dump();
    EXPECT_TRUE(log.Has(L"Not copied: " + temp_ / L"src\\blocked.txt -> "));

    EXPECT_EQ(CopyFolderTree(temp_ / L"src\\sub", temp_ / L"fresh").notCopied, 0);
}

// A package on a synced Desktop: its files and folders are cloud
// placeholders or deduplicated, reparse points that are plain files. They
// are copied; only the junction is passed over, and a folder that cannot be
// listed is counted. The tags come from a stand-in directory search: the
// test machine cannot make such files.
TEST_F(FileOpsTest, CopyFolderTreeCopiesPlaceholderFilesAndCountsWhatItPassesOver) {
    const TaggedEntries::Tags kTags = {{L"placeholder", kCloudFileTag},
                                       {L"dedup", IO_REPARSE_TAG_DEDUP},
                                       {L"junction", IO_REPARSE_TAG_MOUNT_POINT}};
    const SetupLogCapture log;
    for (const wchar_t* folder : {L"src", L"src\\placeholder folder", L"src\\junction", L"src\\unreadable"})
        MakeFolder(temp_ / folder);
    for (const wchar_t* file : {L"placeholder.txt", L"dedup.dat", L"plain.txt", L"placeholder folder\\inner.txt",
                                L"junction\\elsewhere.txt", L"unreadable\\lost.txt"})
        WriteFileBytes(temp_ / L"src\\" + file, ToUtf8(file));

    TreeCopy copy;
    HeardOutcomes heard(temp_ / L"src", temp_ / L"dst");
    {
        const TaggedEntries tagged(kTags);
        copy = CopyFolderTree(temp_ / L"src", temp_ / L"dst", heard.Sink());
    }
    // The junction once, as a whole; nothing of the folder that was not read.
    EXPECT_EQ(heard.heard(), (std::map<std::string, std::string>{{"placeholder.txt", "copied"},
                                                                 {"dedup.dat", "copied"},
                                                                 {"plain.txt", "copied"},
                                                                 {"placeholder folder\\inner.txt", "copied"},
                                                                 {"junction", "passed over"}}));
    for (const wchar_t* file : {L"placeholder.txt", L"dedup.dat", L"plain.txt", L"placeholder folder\\inner.txt"})
        EXPECT_EQ(ReadFileBytes(temp_ / L"dst\\" + file), ToUtf8(file)) << ToUtf8(file);
    EXPECT_FALSE(PathExists(temp_ / L"dst\\junction"));
    EXPECT_EQ(copy.linksPassedOver, 1);
    EXPECT_EQ(copy.foldersUnread, 1);
    EXPECT_EQ(copy.notCopied, 0);
    EXPECT_TRUE(log.Has(L"Not followed (junction or symbolic link): " + temp_ / L"src\\junction")) << log.Dump();
    EXPECT_TRUE(log.Has(L"Folder not read to its end: " + temp_ / L"src\\unreadable: error 5: ")) << log.Dump();

    // The package listing takes a placeholder folder and passes the junction over.
    std::vector<std::wstring> packages;
    {
        const TaggedEntries tagged(kTags);
        ListSubfolders(temp_ / L"src\\", packages);
    }
    std::sort(packages.begin(), packages.end());
    EXPECT_EQ(packages,
              (std::vector<std::wstring>{temp_ / L"src\\placeholder folder", temp_ / L"src\\unreadable"}));
}

TEST_F(FileOpsTest, CopyFolderTreeIntoAFolderGivenWithItsDelimiterLandsInThatFolder) {
    MakeFolder(temp_ / L"src");
    MakeFolder(temp_ / L"src\\sub");
    WriteFileBytes(temp_ / L"src\\top.txt", "top");
    WriteFileBytes(temp_ / L"src\\sub\\inner.txt", "inner");
    MakeFolder(temp_ / L"install");
    CopyFolderTree(temp_ / L"src", temp_ / L"install\\");
    EXPECT_EQ(ReadFileBytes(temp_ / L"install\\top.txt"), "top");
    EXPECT_EQ(ReadFileBytes(temp_ / L"install\\sub\\inner.txt"), "inner");
}

TEST_F(FileOpsTest, CopyFolderTreeRefusesAnEmptyDestination) {
    try {
        CopyFolderTree(temp_ / L"src", L"");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Unable to create directory");
    }
}

TEST_F(FileOpsTest, CopyFileWithDateStreamsContentAndRoundsTimeToTwoSeconds) {
    std::string content(2 * 1048576 + 1048576 / 2 + 123, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + i / 1048576);
    const std::wstring src = temp_ / L"source.bin";
    const std::wstring dst = temp_ / L"copy.bin";
    WriteFileBytes(src, content);
    SetLocalWriteTime(src, 2023, 6, 14, 10, 15, 37);
    AddAttributes(src, FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(CopyFileWithDate(src, dst));
    EXPECT_TRUE(ReadFileBytes(dst) == content);
    const SYSTEMTIME t = LocalWriteTime(dst);
    EXPECT_EQ(t.wYear * 10000 + t.wMonth * 100 + t.wDay, 20230614);
    EXPECT_EQ(t.wHour * 10000 + t.wMinute * 100 + t.wSecond, 101536);
    EXPECT_FALSE(AttributesOf(dst) & FILE_ATTRIBUTE_READONLY) << "the copy is a plain new file";
    EXPECT_TRUE(AttributesOf(src) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(FileOpsTest, CopyFileWithDateOfEmptyFileAndOntoALongerOne) {
    const std::wstring empty = temp_ / L"empty";
    WriteFileBytes(empty, "");
    SetLocalWriteTime(empty, 2020, 1, 2, 3, 4, 6);
    EXPECT_TRUE(CopyFileWithDate(empty, temp_ / L"empty copy"));
    EXPECT_EQ(SizeOf(temp_ / L"empty copy"), 0u);
    EXPECT_EQ(LocalWriteTime(temp_ / L"empty copy").wSecond, 6);

    WriteFileBytes(temp_ / L"short", "short");
    WriteFileBytes(temp_ / L"long", "a much longer old content");
    EXPECT_TRUE(CopyFileWithDate(temp_ / L"short", temp_ / L"long"));
    EXPECT_EQ(ReadFileBytes(temp_ / L"long"), "short");
}

TEST_F(FileOpsTest, CopyFileWithDateRaisesWhenAFileCannotBeOpenedOrCreated) {
    const std::wstring source = temp_ / L"source";
    WriteFileBytes(source, "data");
    const std::wstring missing = temp_ / L"missing";
    const std::wstring noFolder = temp_ / L"no folder\\copy";
    const std::wstring copy = temp_ / L"copy";
    const std::wstring busy = temp_ / L"busy";
    WriteFileBytes(busy, "old");
    struct Case {
        const char* what;
        std::wstring from, to, error;
        std::wstring absent;  // must not have been created
    };
    const Case cases[] = {
        {"missing source", missing, copy, ErrorText(L"Cannot open file", missing, ERROR_FILE_NOT_FOUND), copy},
        {"missing destination folder", source, noFolder,
         ErrorText(L"Cannot create file", noFolder, ERROR_PATH_NOT_FOUND), noFolder},
    };
    for (const Case& c : cases) {
        try {
            CopyFileWithDate(c.from, c.to);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), c.error) << c.what;
        }
        EXPECT_FALSE(PathExists(c.absent)) << c.what;
    }

    {  // another program holds the source open without sharing
        ScopedHandle holder(CreateFileW(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        try {
            CopyFileWithDate(source, copy);
            ADD_FAILURE() << "locked source: no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), ErrorText(L"Cannot open file", source, ERROR_SHARING_VIOLATION));
        }
        EXPECT_FALSE(PathExists(copy));
    }
    {  // and the destination
        ScopedHandle holder(CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        try {
            CopyFileWithDate(source, busy);
            ADD_FAILURE() << "locked destination: no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), ErrorText(L"Cannot create file", busy, ERROR_SHARING_VIOLATION));
        }
    }
    EXPECT_EQ(ReadFileBytes(busy), "old");
}

TEST_F(FileOpsTest, CopyFileWithDateRaisesForAReadOnlyDestination) {
    if (!PlatformRefusesToReplace(temp_, FILE_ATTRIBUTE_READONLY))
        GTEST_SKIP()
            << "read-only files are not protected here (Wine run as root); the unprivileged run covers this";
    WriteFileBytes(temp_ / L"source", "new");
    const std::wstring target = temp_ / L"target";
    WriteFileBytes(target, "old");
    AddAttributes(target, FILE_ATTRIBUTE_READONLY);
    try {
        CopyFileWithDate(temp_ / L"source", target);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), ErrorText(L"Cannot create file", target, ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(ReadFileBytes(target), "old");
}

// A kernel file whose size is a page while it holds a few bytes: the first
// read comes back short, a real read fault.
TEST_F(FileOpsTest, CopyFileWithDateFailsOnAShortRead) {
    const std::wstring shortFile = L"Z:\\sys\\devices\\system\\cpu\\online";
    if (SizeOf(shortFile) <= ReadFileBytes(shortFile).size()) GTEST_SKIP() << "no short-reading file here";
    const Result<> copied = CopyFileWithDate(shortFile, temp_ / L"copy");
    EXPECT_EQ(copied.code(), static_cast<uint32_t>(ERROR_HANDLE_EOF));
    EXPECT_EQ(copied.action(), L"Cannot read " + shortFile);
    EXPECT_TRUE(PathExists(temp_ / L"copy"));
}

// Writes and copies more than 4 GiB: slow, run on demand with
// --gtest_also_run_disabled_tests.
TEST_F(FileOpsTest, DISABLED_CopyFileWithDateCopiesFilesBeyondFourGiB) {
    const std::wstring big = temp_ / L"big";
    const uint64_t size = (uint64_t{4} << 30) + 3;
    {
        ScopedHandle file(CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size - 3);
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "end", 3, &written, nullptr));
    }
    ASSERT_TRUE(CopyFileWithDate(big, temp_ / L"big copy"));
    EXPECT_EQ(SizeOf(temp_ / L"big copy"), size);
    ScopedHandle copy(
        CreateFileW((temp_ / L"big copy").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER tail;
    tail.QuadPart = static_cast<LONGLONG>(size - 3);
    ASSERT_TRUE(SetFilePointerEx(copy.get(), tail, nullptr, FILE_BEGIN));
    char last[3] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(copy.get(), last, 3, &got, nullptr));
    EXPECT_EQ(std::string(last, got), "end");
}

TEST_F(FileOpsTest, SetReadOnlyChangesOnlyThatBit) {
    SetReadOnly(temp_ / L"missing", true);
    EXPECT_FALSE(PathExists(temp_ / L"missing"));

    const std::wstring file = temp_ / L"file";
    WriteFileBytes(file, "x");
    // Wine keeps the hidden mark in an extended attribute, which an
    // unprivileged user can no longer write once the file is read-only.
    AddAttributes(file, FILE_ATTRIBUTE_HIDDEN);
    AddAttributes(file, FILE_ATTRIBUTE_READONLY);
    SetReadOnly(file, false);
    EXPECT_EQ(AttributesOf(file) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD{FILE_ATTRIBUTE_HIDDEN});
    SetReadOnly(file, true);
    EXPECT_EQ(AttributesOf(file) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
}

TEST_F(FileOpsTest, ShellCopyFolderCopiesTheFolderAsAWholeWithoutTrailingDelimiters) {
    MakeFolder(temp_ / L"driver");
    MakeFolder(temp_ / L"driver\\amd64");
    WriteFileBytes(temp_ / L"driver\\setup.exe", "setup");
    WriteFileBytes(temp_ / L"driver\\amd64\\bus.sys", "bus");
    MakeFolder(temp_ / L"install");

    EXPECT_TRUE(ShellCopyFolder(temp_ / L"driver\\", temp_ / L"install\\driver\\", ShellCopyUi::Shown));
    EXPECT_EQ(ReadFileBytes(temp_ / L"install\\driver\\setup.exe"), "setup");
    EXPECT_EQ(ReadFileBytes(temp_ / L"install\\driver\\amd64\\bus.sys"), "bus") << "subfolders included";
}

// Notes every dialog box this process shows while it lives and presses
// Cancel in it, so a copy that asks cannot hang the test.
class OwnBoxWatch {
public:
    OwnBoxWatch() : thread_([this] { Watch(); }) {}
    ~OwnBoxWatch() { Stop(); }
    OwnBoxWatch(const OwnBoxWatch&) = delete;
    OwnBoxWatch& operator=(const OwnBoxWatch&) = delete;

    // Stops watching; afterwards how many boxes showed.
    int Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return boxes_;
    }

private:
    void Watch() {
        for (HWND last = nullptr; !stop_; Sleep(5)) {
            const HWND box = FindOwnVisibleBox();
            if (!box || box == last) continue;
            last = box;
            ++boxes_;
            PostMessageW(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<int> boxes_{0};
    std::thread thread_;
};

// A re-run of the installation copies the driver folder onto its earlier
// copy: the files are replaced and subfolders merged, never a nested
// driver\driver, and without a person nothing is asked or shown.
TEST_F(FileOpsTest, ShellCopyFolderMergesIntoAnExistingFolderWithoutAskingWhenNoUiIsWanted) {
    const SetupLogCapture log;
    MakeFolder(temp_ / L"driver");
    MakeFolder(temp_ / L"driver\\amd64");
    MakeFolder(temp_ / L"install");
    for (const char* run : {"first", "second", "third"}) {
        WriteFileBytes(temp_ / L"driver\\setup.exe", run);
        WriteFileBytes(temp_ / L"driver\\amd64\\bus.sys", std::string(run) + " bus");
        OwnBoxWatch boxes;
        EXPECT_TRUE(ShellCopyFolder(temp_ / L"driver", temp_ / L"install\\driver", ShellCopyUi::None)) << run;
        EXPECT_EQ(boxes.Stop(), 0) << run;
        EXPECT_EQ(ReadFileBytes(temp_ / L"install\\driver\\setup.exe"), run);
        EXPECT_EQ(ReadFileBytes(temp_ / L"install\\driver\\amd64\\bus.sys"), std::string(run) + " bus");
        EXPECT_FALSE(PathExists(temp_ / L"install\\driver\\driver")) << run << ": no nested copy";
    }
    WriteFileBytes(temp_ / L"install\\driver\\earlier.txt", "kept");
    EXPECT_TRUE(ShellCopyFolder(temp_ / L"driver", temp_ / L"install\\driver", ShellCopyUi::None));
    EXPECT_EQ(ReadFileBytes(temp_ / L"install\\driver\\earlier.txt"), "kept") << "a merge, not a swap";
    EXPECT_FALSE(log.Has(L"Not copied by the shell: ")) << log.Dump();
}

// With the shell's questions allowed (the wizard), the same re-run asks
// before replacing a file, and a cancel keeps the earlier file.
TEST_F(FileOpsTest, ShellCopyFolderOntoAnExistingFolderAsksWhenItsUiIsShown) {
    const SetupLogCapture log;
    MakeFolder(temp_ / L"driver");
    WriteFileBytes(temp_ / L"driver\\setup.exe", "new");
    MakeFolder(temp_ / L"install");
    MakeFolder(temp_ / L"install\\driver");
    WriteFileBytes(temp_ / L"install\\driver\\setup.exe", "earlier");
    OwnBoxWatch boxes;
    EXPECT_FALSE(ShellCopyFolder(temp_ / L"driver", temp_ / L"install\\driver", ShellCopyUi::Shown));
    EXPECT_GE(boxes.Stop(), 1) << "the shell asked before replacing";
    EXPECT_EQ(ReadFileBytes(temp_ / L"install\\driver\\setup.exe"), "earlier");
    EXPECT_FALSE(PathExists(temp_ / L"install\\driver\\driver"));
    EXPECT_EQ(log.Find(L"Not copied by the shell: "),
              L"Not copied by the shell: " + temp_ / L"install\\driver\\setup.exe")
        << log.Dump();
}

// A file the shell could not write (held open by another program) shows no
// error box without UI: the result fails and the log names the file.
TEST_F(FileOpsTest, ShellCopyFolderWithoutUiReportsWhatItCouldNotCopy) {
    const SetupLogCapture log;
    MakeFolder(temp_ / L"driver");
    WriteFileBytes(temp_ / L"driver\\setup.exe", "new");
    WriteFileBytes(temp_ / L"driver\\bus.sys", "new bus");
    MakeFolder(temp_ / L"install");
    MakeFolder(temp_ / L"install\\driver");
    WriteFileBytes(temp_ / L"install\\driver\\bus.sys", "held");
    const std::wstring held = temp_ / L"install\\driver\\bus.sys";
    {
        const ScopedHandle holder(
            CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        OwnBoxWatch boxes;
        const Result<> copied = ShellCopyFolder(temp_ / L"driver", temp_ / L"install\\driver", ShellCopyUi::None);
        EXPECT_EQ(boxes.Stop(), 0);
        EXPECT_FALSE(copied);
        EXPECT_NE(copied.action().find(L"Shell copy of " + temp_ / L"driver to " + temp_ / L"install\\driver"),
                  std::wstring::npos)
            << ToUtf8(copied.action());
    }
    EXPECT_EQ(ReadFileBytes(temp_ / L"install\\driver\\setup.exe"), "new") << "the rest is copied";
    EXPECT_EQ(ReadFileBytes(held), "held");
    EXPECT_EQ(log.Find(L"Not copied by the shell: "), L"Not copied by the shell: " + held) << log.Dump();
}

}  // namespace
