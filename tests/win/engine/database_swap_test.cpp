// Replacing the clinic's database: the live name holds the old database or
// the whole new copy, never a part, and a failure leaves nothing behind.
#include "engine/database_swap.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/deployment_manifest.h"
#include "engine/file_ops.h"
#include "tests/kit/file_util.h"
#include "tests/kit/half_way_replace.h"
#include "tests/kit/temp_folder.h"

namespace {

const LocalDateTime kNow{2025, 3, 1, 15, 30, 7, 0};
const std::string kOld = "the clinic's records";
const std::string kNew = "the package's empty database";

// The names in folder, "." and ".." left out.
std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!find) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

FILETIME LocalFileTime(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local{2024, 5, 0, 17, hour, minute, second, 0};
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

void SetWriteTime(const std::wstring& path, const FILETIME& time) {
    ScopedHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &time));
}

uint64_t WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
}

uint64_t AsNumber(const FILETIME& time) {
    return uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
}

// A copy that writes half the file, then fails as a full disk does.
Result<> HalfCopy(std::wstring_view source, std::wstring_view destination) {
    const std::string bytes = ReadFileBytes(std::wstring(source));
    WriteFileBytes(std::wstring(destination), bytes.substr(0, bytes.size() / 2));
    return Result<>::Failure(L"Cannot write " + std::wstring(destination), ERROR_DISK_FULL);
}

// Copies that succeed while another program opens the copy at once and
// keeps it open: a reader that shares everything (a virus scanner looking at
// the fresh file), and one that holds it against writing.
ScopedHandle heldCopy;
Result<> CopyThenOpen(std::wstring_view source, std::wstring_view destination, DWORD sharing) {
    Result<> copied = CopyFileWithDate(source, destination);
    heldCopy.reset(
        CreateFileW(std::wstring(destination).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
    return copied;
}
Result<> CopyThenRead(std::wstring_view source, std::wstring_view destination) {
    return CopyThenOpen(source, destination, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
}
Result<> CopyThenHeld(std::wstring_view source, std::wstring_view destination) {
    return CopyThenOpen(source, destination, FILE_SHARE_READ | FILE_SHARE_DELETE);
}

class DatabaseSwapTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(source_, kNew);
        SetWriteTime(source_, LocalFileTime(10, 15, 37));
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }

    TempFolder temp_;
    const std::wstring source_ = temp_ / L"package V12.FDB";
    const std::wstring folder_ = temp_ / L"DTAfb\\";
    const std::wstring live_ = folder_ + L"V12.FDB";
};

TEST_F(DatabaseSwapTest, TheWholeCopyTakesTheNameAndTheOldDatabaseItsDatedName) {
    struct Case {
        const char* what;
        std::vector<std::wstring> before;  // files in the folder besides the database
        bool oldDatabase;
        std::wstring backup;
    };
    const Case cases[] = {
        {"first installation", {}, false, L""},
        {"reinstallation", {}, true, L"V12.FDB.20250301-153007.bak"},
        {"a backup of the same second exists",
         {L"V12.FDB.20250301-153007.bak"},
         true,
         L"V12.FDB.20250301-153007-2.bak"},
        // What a killed installation leaves is written over.
        {"a copy left half-way", {L"V12.FDB.~new.tmp"}, true, L"V12.FDB.20250301-153007.bak"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(folder_);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        for (const std::wstring& name : c.before) WriteFileBytes(folder_ + name, "earlier");
        if (c.oldDatabase) WriteFileBytes(live_, kOld);

        const DatabaseSwap swap = ReplaceDatabase(source_, live_, kNow, CopyFileWithDate);

        EXPECT_TRUE(swap.copied);
        EXPECT_EQ(swap.backupName, c.backup);
        EXPECT_EQ(ReadFileBytes(live_), kNew);
        // The source's time, at the two-second step of the DOS form.
        EXPECT_EQ(WriteTime(live_), AsNumber(LocalFileTime(10, 15, 36)));
        std::vector<std::wstring> names = {L"V12.FDB"};
        for (const std::wstring& name : c.before)
            if (name.find(L".bak") != std::wstring::npos) names.push_back(name);
        if (!c.backup.empty()) {
            EXPECT_EQ(ReadFileBytes(folder_ + c.backup), kOld);
            names.push_back(c.backup);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(Names(folder_), names) << "nothing else is left in the folder";
    }
}

TEST_F(DatabaseSwapTest, FailuresLeaveTheOldDatabaseInPlaceAndNoCopyBehind) {
    WriteFileBytes(live_, kOld);

    EXPECT_FALSE(ReplaceDatabase(source_, live_, kNow, HalfCopy).copied) << "a copy that fails half-way";
    EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"V12.FDB"});

    EXPECT_THROW(ReplaceDatabase(temp_ / L"missing", live_, kNow, CopyFileWithDate), Error) << "a missing source";
    EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"V12.FDB"});

    {
        // Another program opens the database while the copy is made: the
        // swap is refused and names the database.
        ScopedHandle held(CreateFileW(live_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        try {
            ReplaceDatabase(source_, live_, kNow, CopyFileWithDate);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text().rfind(L"Cannot create file \"" + live_ + L"\". ", 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"V12.FDB"});
    EXPECT_EQ(ReadFileBytes(live_), kOld);

    // A folder (as a junction would be) at the copy's name: it is not
    // removed, nothing is written into or through it, and the copy is
    // refused with the creation's code.
    const std::wstring temporary = DatabaseCopyInProgress(live_);
    ASSERT_TRUE(CreateDirectoryW(temporary.c_str(), nullptr));
    const DatabaseSwap swap = ReplaceDatabase(source_, live_, kNow, CopyFileWithDate);
    EXPECT_FALSE(swap.copied);
    EXPECT_EQ(swap.copied.action(), L"Database: the copy cannot be created new: " + temporary);
    EXPECT_NE(swap.copied.code(), 0u);
    EXPECT_EQ(Names(folder_), (std::vector<std::wstring>{L"V12.FDB", L"V12.FDB.~new.tmp"}));
    EXPECT_EQ(Names(temporary + L"\\"), std::vector<std::wstring>{});
    EXPECT_EQ(ReadFileBytes(live_), kOld);
}

// The code handed back is the failing call's, not that of the clean-up that
// removes the temporary copy after it.
TEST_F(DatabaseSwapTest, AFailedCopyOrFlushCarriesItsOwnCode) {
    struct Case {
        const char* what;
        FileCopy copy;
        uint32_t code;
        const wchar_t* action;
    };
    const Case cases[] = {
        {"copy fails half-way", HalfCopy, ERROR_DISK_FULL, L"Cannot write "},
        {"copy held against writing by another program", CopyThenHeld, ERROR_SHARING_VIOLATION,
         L"Database: the copy cannot be written to the disk: "},
    };
    WriteFileBytes(live_, kOld);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DatabaseSwap swap = ReplaceDatabase(source_, live_, kNow, c.copy);
        heldCopy.reset();
        EXPECT_FALSE(swap.copied);
        EXPECT_EQ(swap.copied.code(), c.code);
        EXPECT_EQ(swap.copied.action(), c.action + DatabaseCopyInProgress(live_));
        EXPECT_EQ(Names(folder_), std::vector<std::wstring>{L"V12.FDB"});
        EXPECT_EQ(ReadFileBytes(live_), kOld);
    }
}

// A reader that shares everything, holding the fresh copy open through the
// flush and its move to the live name, stops neither. (Whether the swap over
// an existing database lets such a reader be is the platform's matter: Wine's
// ReplaceFileW refuses, and the old database then stays in place.)
TEST_F(DatabaseSwapTest, AReaderOfTheFreshCopyStopsNeitherFlushNorMove) {
    const DatabaseSwap swap = ReplaceDatabase(source_, live_, kNow, CopyThenRead);
    heldCopy.reset();
    EXPECT_TRUE(swap.copied) << ToUtf8(swap.copied.action()) << " " << swap.copied.code();
    EXPECT_EQ(ReadFileBytes(live_), kNew);
}

// Each documented half-way outcome of the swap: the live name ends up with
// a whole database, the old one is never lost, and when it cannot be put
// back the error names where it is.
TEST_F(DatabaseSwapTest, EveryHalfWaySwapKeepsAWholeDatabaseAndTheOldOne) {
    struct Case {
        DWORD outcome;
        bool stuck;
        const std::string* live;  // afterwards; nullptr: nothing under the name
        bool raises;
    } const cases[] = {
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, &kOld, true},     // with a backup name nothing moved
        {ERROR_UNABLE_TO_REMOVE_REPLACED, false, &kOld, true},      // nothing moved
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, false, &kNew, false},  // old one aside: the new one moves in
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, nullptr, true},  // neither can move: the error names it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.outcome << (c.stuck ? " stuck" : ""));
        for (const std::wstring& name : Names(folder_)) DeleteFileW((folder_ + name).c_str());
        WriteFileBytes(live_, kOld);
        const std::wstring backup = folder_ + DatabaseBackupName(kNow);
        std::wstring error;
        {
            const HalfWayReplace halfWay(c.outcome, c.stuck);
            try {
                const DatabaseSwap swap = ReplaceDatabase(source_, live_, kNow, CopyFileWithDate);
                EXPECT_EQ(folder_ + swap.backupName, backup);
            } catch (const Error& e) {
                error = e.text();
            }
        }
        EXPECT_EQ(!error.empty(), c.raises) << ToUtf8(error);
        if (c.live) {
            EXPECT_EQ(ReadFileBytes(live_), *c.live);
        } else {
            EXPECT_FALSE(PathExists(live_));
        }
        const bool aside = c.outcome == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
        if (aside) {
            EXPECT_EQ(ReadFileBytes(backup), kOld);
        }
        if (c.stuck) {
            EXPECT_TRUE(error.ends_with(L"\r\nПрежняя база данных сохранена в файле " + backup)) << ToUtf8(error);
        }
        EXPECT_FALSE(PathExists(DatabaseCopyInProgress(live_)) && !c.stuck) << "no copy left behind";
    }
}

TEST_F(DatabaseSwapTest, ADatabaseInUseIsRefusedBeforeTheCopy) {
    EXPECT_NO_THROW(CheckDatabaseReplaceable(live_)) << "no database yet";
    WriteFileBytes(live_, kOld);
    EXPECT_NO_THROW(CheckDatabaseReplaceable(live_));
    {
        // A reader that lets the swap happen is no reason to refuse.
        ScopedHandle reader(CreateFileW(live_.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        EXPECT_NO_THROW(CheckDatabaseReplaceable(live_));
    }
    ScopedHandle held(
        CreateFileW(live_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    try {
        CheckDatabaseReplaceable(live_);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Cannot create file \"" + live_ + L"\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
    }
    held.reset();
    EXPECT_EQ(ReadFileBytes(live_), kOld);
}

}  // namespace
