// Writing "lastnum.dta" on disk.
#include <gtest/gtest.h>

#include "engine/counter_file.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

TEST(CounterFileOnDisk, WritesTheRecordAndIgnoresAFolderThatIsMissing) {
    TempFolder temp;
    const LocalDateTime moment{2025, 3, 1, 15, 30};
    WriteCounterFile(temp / L"lastnum.dta", moment);
    // Two zero fields, then 1 March 2025 15:30 as a day count (45717.645833...).
    EXPECT_EQ(ReadFileBytes(temp / L"lastnum.dta"),
              std::string("\0\0\0\0\0\0\xab\xaa\xaa\xaa\xb4\x52\xe6\x40", 14));

    WriteCounterFile(temp / L"missing\\lastnum.dta", moment);
    EXPECT_FALSE(PathExists(temp / L"missing"));
}

}  // namespace
