// SHA-256 through the platform's own cryptography (CNG), for proving that
// an installed file holds the distributed bytes.
#pragma once

#include <windows.h>

#include <bcrypt.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "base/handles.h"

using Sha256Digest = std::array<unsigned char, 32>;

// The digest as 64 lower-case hexadecimal digits, as sha256sum prints it.
std::string HexText(const Sha256Digest& digest);

struct AlgorithmTraits {
    using Handle = BCRYPT_ALG_HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h);
};

struct HashTraits {
    using Handle = BCRYPT_HASH_HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h);
};

// The provider, opened once and shared by the hashes made from it; one
// provider may serve several threads. CNG is taken from the system folder's
// bcrypt.dll at run time, never imported.
class Sha256Algorithm {
public:
    // Raises Error "SHA-256 not available: <why>" when bcrypt.dll or its
    // SHA-256 provider is missing.
    Sha256Algorithm();
    BCRYPT_ALG_HANDLE get() const { return algorithm_.get(); }

private:
    ScopedOwner<AlgorithmTraits> algorithm_;
};

// One running hash. Raises Error "SHA-256 failed: NTSTATUS 0x<code>" when the
// provider refuses a call.
class Sha256 {
public:
    explicit Sha256(const Sha256Algorithm& algorithm);
    void Add(const void* data, size_t size);
    // The digest of everything added; the hash takes no more data after it.
    Sha256Digest Finish();

private:
    ScopedOwner<HashTraits> hash_;
};

// The digest of a file's bytes, read in blocks of 128 KiB through buffer
// (grown to 128 KiB when smaller, reused by the caller). Raises Error
// "Cannot open file "<path>". <system text>" or
// "Cannot read file "<path>". <system text>", and "Hash cancelled" when
// cancel is given and becomes true between two blocks.
Sha256Digest HashFile(const Sha256Algorithm& algorithm, std::wstring_view path, std::string& buffer,
                      const std::atomic<bool>* cancel = nullptr);
