#include "bench/reference_package.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/deployment_manifest.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"

namespace {

// Update packages below "backup" (the newest is 01.01.24) and where the small
// files go: the packages' own subfolders, then the updater's.
const std::vector<std::wstring> kUpdatePackages = {L"U150321", L"U010622", L"U300922", L"U010124"};
constexpr const wchar_t* kPackageSubfolders[] = {L"bin\\", L"help\\", L"forms\\"};
constexpr const wchar_t* kUpdaterSubfolders[] = {L"", L"lang\\", L"help\\", L"templates\\", L"reports\\"};

// Small files are between 256 bytes and 64 KiB, evenly spread on a log scale.
constexpr double kSmallestFile = 256;
constexpr double kSizeSpreadBits = 8;

constexpr DWORD kBlock = 1 << 20;

// splitmix64: fast, and the same bytes on every run.
class Random {
public:
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
    void Fill(std::string& bytes) {
        for (size_t i = 0; i + 8 <= bytes.size(); i += 8) {
            const uint64_t v = Next();
            std::memcpy(&bytes[i], &v, 8);
        }
        for (size_t i = bytes.size() & ~size_t{7}; i < bytes.size(); ++i) bytes[i] = static_cast<char>(Next());
    }

private:
    uint64_t state_ = 0x56454C4D4F5241ull;
};

[[noreturn]] void Fail(const std::wstring& what) {
    throw std::runtime_error("reference package: " + ToUtf8(what));
}

void WriteDatabase(const std::wstring& path, uint64_t size, Random& random) {
    ScopedHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail(L"cannot create " + path);
    std::string block(kBlock, '\0');
    for (uint64_t left = size; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(left, kBlock));
        block.resize(chunk);
        random.Fill(block);
        DWORD written = 0;
        if (!WriteFile(file.get(), block.data(), chunk, &written, nullptr) || written != chunk)
            Fail(L"cannot write " + path);
        left -= chunk;
    }
}

void WriteSmallFiles(const std::wstring& root, int count, Random& random) {
    std::vector<std::wstring> folders;
    for (const std::wstring& package : kUpdatePackages)
        for (const wchar_t* sub : kPackageSubfolders)
            folders.push_back(std::wstring(kBackupFolder) + L"\\" + package + L"\\" + sub);
    for (const wchar_t* sub : kUpdaterSubfolders) folders.push_back(std::wstring(kUpdaterFolder) + L"\\" + sub);
    for (const std::wstring& folder : folders) CreateDirectoryW((root + folder).c_str(), nullptr);

    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes.resize(static_cast<size_t>(kSmallestFile * std::exp2(kSizeSpreadBits * random.Unit())));
        random.Fill(bytes);
        wchar_t name[32];
        swprintf(name, 32, L"item%04d.dat", i);
        WriteFileBytes(root + folders[static_cast<size_t>(i) % folders.size()] + name, bytes);
    }
}

}  // namespace

void BuildReferencePackage(const std::wstring& folder, const ReferencePackageShape& shape) {
    PackageOptions options;
    options.databaseSize = 0;  // written below, with pseudo-random bytes
    options.updatePackages = kUpdatePackages;
    BuildPackage(folder, options);

    Random random;
    WriteDatabase(JoinPath(folder, kDatabaseFolder, kDatabaseFile), shape.databaseBytes, random);
    WriteSmallFiles(folder, shape.smallFiles, random);
}
