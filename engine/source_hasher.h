// Hashing the package's files on a second thread while the installation
// goes on copying on the window's thread. The one thread the installer
// starts besides its own, kept to itself: it owns its hash provider and its
// read buffer, reads only package files the installation has finished
// copying, and shares with the window's thread nothing but a bounded queue
// of paths; the results are handed back whole once it has stopped.
//
// The queue is bounded by the memory its paths take, not by their number:
// while the thread hashes the database (seconds), the copy of a whole tree
// of small files goes on and queues its paths behind it instead of waiting.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "base/sha256.h"

// A file's digest and size, or why it could not be read.
struct FileHash {
    Sha256Digest digest{};
    uint64_t size = 0;
    std::wstring error;  // empty when the digest is good
};

// Hashes path as it is now, in 128 KiB blocks through buffer; stops early
// when cancel is given and becomes true.
FileHash HashFileAt(const Sha256Algorithm& algorithm, const std::wstring& path, std::string& buffer,
                    const std::atomic<bool>* cancel = nullptr);

class SourceHasher {
public:
    // Starts the thread. Raises Error when SHA-256 is not available.
    SourceHasher();
    // Stops the thread at once, dropping what is still queued.
    ~SourceHasher();
    SourceHasher(const SourceHasher&) = delete;
    SourceHasher& operator=(const SourceHasher&) = delete;

    // Queues a file to hash; waits while the queued paths hold their limit.
    void Add(std::wstring path);
    // Waits until every queued file is hashed and the thread has ended;
    // returns one result per Add, in the order of the calls. Call once.
    std::deque<FileHash> Finish();

private:
    void Work();

    // What a queued path is counted as: its characters and its bookkeeping.
    static size_t QueuedBytes(const std::wstring& path);
    // The paths of about 5,000 files (the package has about 2,000); a larger
    // tree waits for the thread instead of growing the installer's memory.
    static constexpr size_t kQueueLimitBytes = 1 << 20;
    const Sha256Algorithm algorithm_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::wstring> queue_;   // guarded by mutex_
    size_t queuedBytes_ = 0;           // guarded by mutex_: QueuedBytes of queue_
    bool closed_ = false;              // guarded by mutex_: no more paths come
    std::atomic<bool> cancel_{false};  // the file being hashed is dropped
    std::deque<FileHash> results_;     // the worker's alone until it has ended
    std::thread worker_;
};
