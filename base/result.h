// What an operation that can fail hands back: success (with its value, for
// Result<T>), or the system error code captured right at the failing call
// together with what was being done. The caller logs exactly that code;
// nothing needs to read GetLastError() again after clean-up calls may have
// changed it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

template <typename T = void>
class Result;

// An operation that hands back nothing but whether it worked.
template <>
class Result<void> {
public:
    // Success.
    Result() = default;

    // A failure while doing action (for example "Cannot read C:\a.txt");
    // code is the system error code of the failing call, or 0 when the
    // action's text says everything there is to say.
    static Result Failure(std::wstring_view action, uint32_t code) {
        Result failure;
        failure.failed_ = true;
        failure.action_ = action;
        failure.code_ = code;
        return failure;
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }

    // Empty and 0 for success.
    const std::wstring& action() const { return action_; }
    uint32_t code() const { return code_; }

private:
    bool failed_ = false;
    std::wstring action_;
    uint32_t code_ = 0;
};

// An operation that hands back a value when it works.
template <typename T>
class Result {
public:
    // Success with value.
    Result(T value) : value_(std::move(value)) {}
    // A failure, taken over as it is from the call that failed.
    Result(Result<> failure) : failure_(std::move(failure)) {}

    static Result Failure(std::wstring_view action, uint32_t code) { return Result<>::Failure(action, code); }

    bool ok() const { return failure_.ok(); }
    explicit operator bool() const { return ok(); }

    // Only meaningful when ok().
    const T& value() const { return value_; }
    T& value() { return value_; }

    // The failure without the value, to hand on; success when ok().
    const Result<>& failure() const { return failure_; }
    const std::wstring& action() const { return failure_.action(); }
    uint32_t code() const { return failure_.code(); }

private:
    Result<> failure_;
    T value_{};
};

// What became of a program that was to be started: it did not start, or it
// started and either ended with an exit code or could not be awaited. The
// failing call's code travels in error.
struct ProgramResult {
    bool started = false;
    uint32_t exitCode = 0;  // only when ended()
    Result<> error;         // why it did not start, or why its end is unknown

    bool ended() const { return started && error.ok(); }
};
