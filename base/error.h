// The one exception type of the program. It carries the exact text the user
// sees in the default error report, so callers never rebuild messages.
#pragma once

#include <exception>
#include <string>

class Error : public std::exception {
public:
    explicit Error(std::wstring text);

    // The user-visible text, unchanged.
    const std::wstring& text() const noexcept { return text_; }

    // The text as UTF-8, for test output and diagnostics.
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::wstring text_;
    std::string utf8_;
};
