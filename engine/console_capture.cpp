#include "engine/console_capture.h"

#include <mutex>

namespace {

// How long the output is read after the program ended: a program it left
// running may hold the pipe open for ever.
constexpr DWORD kReadAfterEndMs = 2000;

}  // namespace

// What the reader thread and the capture share; the thread holds its own
// reference, so a reader still blocked after Finish never writes into
// freed memory.
struct ConsoleCapture::Reading {
    explicit Reading(size_t cap) : output(cap) {}
    ScopedHandle pipe;
    std::mutex lock;
    CappedOutput output;
};

ConsoleCapture::ConsoleCapture(size_t cap) : reading_(std::make_shared<Reading>(cap)) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherited, 0)) {
        error_ = Result<>::Failure(L"Console output not caught: CreatePipe", GetLastError());
        return;
    }
    reading_->pipe.reset(read);
    programEnd_.reset(write);
    // Only the program's end is inherited.
    if (!SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0)) {
        error_ = Result<>::Failure(L"Console output not caught: SetHandleInformation", GetLastError());
        programEnd_.reset();
        return;
    }
    programInput_.reset(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                    OPEN_EXISTING, 0, nullptr));
    if (!programInput_) {
        error_ = Result<>::Failure(L"Console output not caught: CreateFile NUL", GetLastError());
        programEnd_.reset();
        return;
    }
    auto* shared = new std::shared_ptr<Reading>(reading_);
    thread_.reset(CreateThread(nullptr, 0, Read, shared, 0, nullptr));
    if (!thread_) {
        error_ = Result<>::Failure(L"Console output not caught: CreateThread", GetLastError());
        delete shared;
        ProgramStarted();
    }
}

ConsoleCapture::~ConsoleCapture() {
    if (thread_) Finish();
}

DWORD WINAPI ConsoleCapture::Read(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Reading>> owner(static_cast<std::shared_ptr<Reading>*>(parameter));
    Reading& reading = **owner;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(reading.pipe.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        const std::lock_guard<std::mutex> hold(reading.lock);
        reading.output.Append(std::string_view(buffer, got));
    }
    return 0;
}

CappedOutput ConsoleCapture::Finish() {
    ProgramStarted();
    if (thread_ && WaitForSingleObject(thread_.get(), kReadAfterEndMs) == WAIT_TIMEOUT) {
        stillOpen_ = true;
        CancelSynchronousIo(thread_.get());
    }
    thread_.reset();
    const std::lock_guard<std::mutex> hold(reading_->lock);
    return reading_->output;
}
