// "lastnum.dta", the package's record counter: one 14-byte little-endian
// record, a 16-bit field and a 32-bit counter (both 0 when new) followed by
// the moment of writing as a date serial.
#pragma once

#include <array>
#include <string_view>

#include "engine/local_date_time.h"

constexpr size_t kCounterRecordSize = 14;

// Days since 30 December 1899 with the time of day as the fraction
// (1 March 2025 15:30 gives 45717.6458333...), for moments from that day
// on. Windows-free.
double DateSerial(const LocalDateTime& moment);

// The record of a new counter file written at moment. Windows-free.
std::array<unsigned char, kCounterRecordSize> NewCounterRecord(const LocalDateTime& moment);

// Creates the counter file path with its new record. Any failure is ignored
// and leaves no file behind.
void WriteCounterFile(std::wstring_view path, const LocalDateTime& moment);
