// "lastnum.dta": the date serial and the record bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/counter_file.h"

namespace {

TEST(CounterFile, DateSerialCountsDaysFromTheEndOf1899) {
    struct Case {
        LocalDateTime moment;
        double serial;
    };
    const Case cases[] = {
        {{1899, 12, 30}, 0.0},
        {{1899, 12, 31}, 1.0},
        {{1900, 3, 1}, 61.0},
        {{2000, 1, 1}, 36526.0},
        {{2024, 2, 29, 12}, 45351.5},
        {{2024, 12, 31, 23, 59, 59, 999}, 45657.0 + 86399999.0 / 86400000.0},
        {{2025, 3, 1, 15, 30}, 45717.0 + 15.5 / 24.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(DateSerial(c.moment), c.serial)
            << c.moment.year << "-" << c.moment.month << "-" << c.moment.day;
}

TEST(CounterFile, RecordIsTwoZeroFieldsThenTheMomentLittleEndian) {
    const auto record = NewCounterRecord({2025, 3, 1, 15, 30});
    const unsigned char expected[kCounterRecordSize] = {0,    0,    0,    0,    0,    0,    0xab,
                                                        0xaa, 0xaa, 0xaa, 0xb4, 0x52, 0xe6, 0x40};
    EXPECT_EQ(std::memcmp(record.data(), expected, kCounterRecordSize), 0);
    double serial = 0;
    std::memcpy(&serial, record.data() + 6, sizeof(serial));
    EXPECT_NEAR(serial, 45717.645833, 1e-6);
}

}  // namespace
