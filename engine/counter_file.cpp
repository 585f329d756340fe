#include "engine/counter_file.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// Days from 1 March of year 0 of the proleptic Gregorian calendar, which
// puts the leap day at the end of the counting year.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

template <typename T>
void PutLittleEndian(unsigned char* out, T value) {
    static_assert(std::endian::native == std::endian::little, "the record is written as it lies in memory");
    std::memcpy(out, &value, sizeof(value));
}

}  // namespace

double DateSerial(const LocalDateTime& moment) {
    const int64_t days = DaysFromCivil(moment.year, moment.month, moment.day) - DaysFromCivil(1899, 12, 30);
    const double milliseconds =
        ((moment.hour * 60.0 + moment.minute) * 60.0 + moment.second) * 1000.0 + moment.millisecond;
    return static_cast<double>(days) + milliseconds / 86400000.0;
}

std::array<unsigned char, kCounterRecordSize> NewCounterRecord(const LocalDateTime& moment) {
    std::array<unsigned char, kCounterRecordSize> record{};
    PutLittleEndian(record.data(), int16_t{0});
    PutLittleEndian(record.data() + 2, int32_t{0});
    PutLittleEndian(record.data() + 6, DateSerial(moment));
    return record;
}
