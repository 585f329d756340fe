// Rewriting a file whose swap stops half-way: each of ReplaceFileW's
// documented partial outcomes leaves the file whole under its name.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "tests/kit/file_util.h"
#include "tests/kit/half_way_replace.h"
#include "tests/kit/temp_folder.h"

namespace {

TEST(WriteWholeFileAtomically, EveryHalfWaySwapLeavesAWholeFileUnderItsName) {
    struct Case {
        DWORD outcome;
        const char* content;  // what the name holds afterwards
        bool raises;
    } const cases[] = {
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT, "new", false},    // the old one deleted: the move is finished
        {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, "new", false},  // the old one moved aside: the same
        {ERROR_UNABLE_TO_REMOVE_REPLACED, "old", true},      // nothing changed: reported
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outcome);
        TempFolder temp;
        const std::wstring file = temp / L"holter.ini";
        WriteFileBytes(file, "old");
        bool raised = false;
        {
            const HalfWayReplace halfWay(c.outcome);
            try {
                WriteWholeFileAtomically(file, "new", 3);
            } catch (const Error& e) {
                raised = true;
                EXPECT_EQ(e.text().rfind(L"Cannot create file \"" + file + L"\". ", 0), 0u);
            }
        }
        EXPECT_EQ(raised, c.raises);
        EXPECT_EQ(ReadFileBytes(file), c.content);
        DeleteFileW(HalfWayReplace::AsideName(file).c_str());
        WIN32_FIND_DATAW entry;
        ScopedFindHandle temporary(FindFirstFileW((temp / L"*.tmp").c_str(), &entry));
        EXPECT_FALSE(temporary) << "no temporary file left";
    }
}

// Whatever lies at the temporary file's name already (a leftover, or a file
// some user put there to have the write land in it) is never opened: the
// rewrite takes another name and leaves that file as it was.
TEST(WriteWholeFileAtomically, AFileAtTheTemporaryNameIsNeverWrittenOver) {
    TempFolder temp;
    const std::wstring file = temp / L"ReleaseInfo";
    WriteFileBytes(file, "old");
    const std::wstring taken = file + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    WriteFileBytes(taken, "planted");
    WriteWholeFileAtomically(file, "new", 3);
    EXPECT_EQ(ReadFileBytes(file), "new");
    EXPECT_EQ(ReadFileBytes(taken), "planted");
}

}  // namespace
