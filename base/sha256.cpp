#include "base/sha256.h"

#include <algorithm>
#include <cstdio>

#include "base/error.h"
#include "base/system_error.h"
#include "base/system_library.h"

namespace {

// Small enough that two hashing threads add little to the installer's memory,
// large enough that the reads cost nothing beside the hash.
constexpr DWORD kReadBlock = 128 << 10;

std::wstring StatusText(NTSTATUS status) {
    wchar_t text[32];
    swprintf(text, 32, L"NTSTATUS 0x%08lX", static_cast<unsigned long>(status));
    return text;
}

void Check(NTSTATUS status) {
    if (!BCRYPT_SUCCESS(status)) throw Error(L"SHA-256 failed: " + StatusText(status));
}

// CNG's entry points, taken from the system folder's bcrypt.dll at the first
// use: an import would let a bcrypt.dll planted beside the installer load
// before the entry restricts the DLL search. Loaded once, kept for the
// process's life; every pointer is null when the DLL is not there.
struct Cng {
    decltype(&BCryptOpenAlgorithmProvider) openAlgorithm = nullptr;
    decltype(&BCryptCloseAlgorithmProvider) closeAlgorithm = nullptr;
    decltype(&BCryptCreateHash) createHash = nullptr;
    decltype(&BCryptHashData) hashData = nullptr;
    decltype(&BCryptFinishHash) finishHash = nullptr;
    decltype(&BCryptDestroyHash) destroyHash = nullptr;

    bool complete() const {
        return openAlgorithm && closeAlgorithm && createHash && hashData && finishHash && destroyHash;
    }
};

template <typename Function>
void Take(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Cng& CngEntryPoints() {
    static const Cng cng = [] {
        Cng found;
        const HMODULE module = LoadSystemLibrary(L"bcrypt.dll");
        if (!module) return found;
        Take(module, "BCryptOpenAlgorithmProvider", found.openAlgorithm);
        Take(module, "BCryptCloseAlgorithmProvider", found.closeAlgorithm);
        Take(module, "BCryptCreateHash", found.createHash);
        Take(module, "BCryptHashData", found.hashData);
        Take(module, "BCryptFinishHash", found.finishHash);
        Take(module, "BCryptDestroyHash", found.destroyHash);
        return found;
    }();
    return cng;
}

}  // namespace

void AlgorithmTraits::Close(Handle h) {
    CngEntryPoints().closeAlgorithm(h, 0);
}

void HashTraits::Close(Handle h) {
    CngEntryPoints().destroyHash(h);
}

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
    if (!CngEntryPoints().complete())
        throw Error(L"SHA-256 not available: bcrypt.dll not loaded from the system folder");
    const NTSTATUS status =
        CngEntryPoints().openAlgorithm(algorithm_.receive(), BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    if (!BCRYPT_SUCCESS(status)) throw Error(L"SHA-256 not available: " + StatusText(status));
}

Sha256::Sha256(const Sha256Algorithm& algorithm) {
    // The provider keeps the hash object's memory itself (Windows 7 and later).
    Check(CngEntryPoints().createHash(algorithm.get(), hash_.receive(), nullptr, 0, nullptr, 0, 0));
}

void Sha256::Add(const void* data, size_t size) {
    auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
    while (size > 0) {
        const ULONG piece = static_cast<ULONG>(std::min<size_t>(size, 1u << 30));
        Check(CngEntryPoints().hashData(hash_.get(), bytes, piece, 0));
        bytes += piece;
        size -= piece;
    }
}

Sha256Digest Sha256::Finish() {
    Sha256Digest digest{};
    Check(CngEntryPoints().finishHash(hash_.get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
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
