// A local calendar date and time of day, as the system clock gives it.
#pragma once

#include <cwchar>
#include <string>

struct LocalDateTime {
    int year = 1899;
    int month = 12;  // 1..12
    int day = 30;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// "YYYY-MM-DD HH:MM:SS", as the record and the setup log write a moment.
inline std::wstring DateTimeText(const LocalDateTime& t) {
    wchar_t text[32];
    swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}
