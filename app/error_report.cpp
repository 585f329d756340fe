#include "app/error_report.h"

#include <exception>
#include <new>

#include "base/error.h"
#include "base/utf8.h"

std::wstring ErrorReportText(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty() && result.back() > L'.') result += L'.';
    return result;
}

std::wstring CurrentExceptionText() {
    try {
        throw;
    } catch (const Error& e) {
        return e.text();
    } catch (const std::bad_alloc&) {
        return L"Out of memory";
    } catch (const std::exception& e) {
        return FromUtf8(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}
