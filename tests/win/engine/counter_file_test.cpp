// Writing "lastnum.dta" on disk.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/counter_file.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

TEST(CounterFileOnDisk, WritesTheRecordAndIgnoresAFolderThatIsMissing) {
    TempFolder temp;
    const LocalDateTime moment{2025, 3, 1, 15, 30};
    WriteCounterFile(temp / L"lastnum.dta", moment);
    const std::string bytes = ReadFileBytes(temp / L"lastnum.dta");
    ASSERT_EQ(bytes.size(), kCounterRecordSize);
    EXPECT_EQ(std::memcmp(bytes.data(), NewCounterRecord(moment).data(), kCounterRecordSize), 0);

    WriteCounterFile(temp / L"missing\\lastnum.dta", moment);
    EXPECT_FALSE(PathExists(temp / L"missing"));
}

}  // namespace
