// The removal record: what a removal took away and what it kept, and why,
// filed beside the installation records.
#pragma once

#include <string>

#include "engine/local_date_time.h"
#include "engine/removal.h"

// The record's file: UTF-8 with a byte-order mark, CR LF lines, a header
// (the install folder, the installation record read, the user, when, the
// counts), a blank line, then one tab-separated line per item: the path and
// what became of it.
std::string RemovalRecordBytes(const RemovalReport& report, const std::wstring& installFolder,
                               const LocalDateTime& started);
