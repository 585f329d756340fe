#include "base/sha256.h"

#include <algorithm>
#include <cstdio>

#include "base/error.h"
#include "base/system_error.h"

namespace {

constexpr DWORD kReadBlock = 1 << 20;

std::wstring StatusText(NTSTATUS status) {
    wchar_t text[32];
    swprintf(text, 32, L"NTSTATUS 0x%08lX", static_cast<unsigned long>(status));
    return text;
}

void Check(NTSTATUS status) {
    if (!BCRYPT_SUCCESS(status)) throw Error(L"SHA-256 failed: " + StatusText(status));
}

}  // namespace

std::string HexText(const Sha256Digest& digest) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(digest.size() * 2);
    for (unsigned char byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

Sha256Algorithm::Sha256Algorithm() {
    const NTSTATUS status = BCryptOpenAlgorithmProvider(algorithm_.receive(), BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    if (!BCRYPT_SUCCESS(status)) throw Error(L"SHA-256 not available: " + StatusText(status));
}

Sha256::Sha256(const Sha256Algorithm& algorithm) {
    // The provider keeps the hash object's memory itself (Windows 7 and later).
    Check(BCryptCreateHash(algorithm.get(), hash_.receive(), nullptr, 0, nullptr, 0, 0));
}

void Sha256::Add(const void* data, size_t size) {
    auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
    while (size > 0) {
        const ULONG piece = static_cast<ULONG>(std::min<size_t>(size, 1u << 30));
        Check(BCryptHashData(hash_.get(), bytes, piece, 0));
        bytes += piece;
        size -= piece;
    }
}

Sha256Digest Sha256::Finish() {
    Sha256Digest digest{};
    Check(BCryptFinishHash(hash_.get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
    return digest;
}

Sha256Digest HashFile(const Sha256Algorithm& algorithm, std::wstring_view path, std::string& buffer,
                      const std::atomic<bool>* cancel) {
    const std::wstring name(path);
    ScopedHandle file(CreateFileW(name.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD code = GetLastError();
        throw Error(L"Cannot open file \"" + name + L"\". " + SystemErrorText(code));
    }
    if (buffer.size() < kReadBlock) buffer.resize(kReadBlock);
    Sha256 hash(algorithm);
    for (;;) {
        if (cancel && *cancel) throw Error(L"Hash cancelled");
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer.data(), kReadBlock, &read, nullptr)) {
            const DWORD code = GetLastError();
            throw Error(L"Cannot read file \"" + name + L"\". " + SystemErrorText(code));
        }
        if (read == 0) return hash.Finish();
        hash.Add(buffer.data(), read);
    }
}
