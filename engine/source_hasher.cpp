#include "engine/source_hasher.h"

#include <windows.h>

#include "base/error.h"
#include "base/system_error.h"

FileHash HashFileAt(const Sha256Algorithm& algorithm, const std::wstring& path, std::string& buffer,
                    const std::atomic<bool>* cancel) {
    FileHash result;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD code = GetLastError();
        result.error = L"Cannot open file \"" + path + L"\". " + SystemErrorText(code);
        return result;
    }
    result.size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    try {
        result.digest = HashFile(algorithm, path, buffer, cancel);
    } catch (const Error& e) {
        result.error = e.text();
    }
    return result;
}

SourceHasher::SourceHasher() : worker_([this] { Work(); }) {}

SourceHasher::~SourceHasher() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        queue_.clear();
        queuedBytes_ = 0;
    }
    cancel_ = true;
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

size_t SourceHasher::QueuedBytes(const std::wstring& path) {
    return (path.size() + 1) * sizeof(wchar_t) + sizeof(std::wstring) + 16;
}

void SourceHasher::Add(std::wstring path) {
    std::unique_lock lock(mutex_);
    // One path always fits, however long: an empty queue takes it.
    const size_t bytes = QueuedBytes(path);
    changed_.wait(lock, [&] { return queue_.empty() || queuedBytes_ + bytes <= kQueueLimitBytes; });
    queuedBytes_ += bytes;
    queue_.push_back(std::move(path));
    lock.unlock();
    changed_.notify_all();
}

std::deque<FileHash> SourceHasher::Finish() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
    worker_.join();
    return std::move(results_);
}

void SourceHasher::Work() {
    std::string buffer;
    for (;;) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return closed_ || !queue_.empty(); });
        if (queue_.empty()) return;
        std::wstring path = std::move(queue_.front());
        queue_.pop_front();
        queuedBytes_ -= QueuedBytes(path);
        lock.unlock();
        changed_.notify_all();
        results_.push_back(HashFileAt(algorithm_, path, buffer, &cancel_));
    }
}
