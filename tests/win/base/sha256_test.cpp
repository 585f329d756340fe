// SHA-256 through the platform's CNG against the standard's own test
// vectors, on real files.
#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "base/sha256.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

TEST(Sha256, FileDigestsMatchTheKnownVectors) {
    struct Case {
        std::string bytes;
        const char* digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // A million "a": more than one read block, so blocks are chained.
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        // 3 MiB and one byte: many read blocks and a last one of a byte
        // (digest by sha256sum).
        {std::string(3u << 20, 'a') + "b", "78734bbf075402e4fb21210183c18f0378f590ab117524913ba6fb545339c69a"},
    };
    const TempFolder temp;
    const Sha256Algorithm algorithm;
    std::string buffer;
    for (const Case& c : cases) {
        const std::wstring file = temp / L"data";
        WriteFileBytes(file, c.bytes);
        EXPECT_EQ(HexText(HashFile(algorithm, file, buffer)), c.digest) << c.bytes.size() << " bytes";
        Sha256 whole(algorithm);
        whole.Add(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(HexText(whole.Finish()), c.digest) << c.bytes.size() << " bytes in one piece";
    }
}

TEST(Sha256, MissingFileIsAnErrorNamingIt) {
    const TempFolder temp;
    const Sha256Algorithm algorithm;
    std::string buffer;
    try {
        HashFile(algorithm, temp / L"missing.bin", buffer);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text().rfind(L"Cannot open file \"" + temp / L"missing.bin" + L"\". ", 0), 0u) << e.what();
    }
}

}  // namespace
