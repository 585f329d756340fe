#include "app/error_report.h"

std::wstring ErrorReportText(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty() && result.back() > L'.') result += L'.';
    return result;
}
