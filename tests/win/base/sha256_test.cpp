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
        {std::string(3u << 20, 'a') + "b", nullptr},
    };
    const TempFolder temp;
    const Sha256Algorithm algorithm;
    std::string buffer;
    for (const Case& c : cases) {
        const std::wstring file = temp / L"data";
        WriteFileBytes(file, c.bytes);
        Sha256 whole(algorithm);
        whole.Add(c.bytes.data(), c.bytes.size());
        const std::string expected = c.digest ? c.digest : HexText(whole.Finish());
        EXPECT_EQ(HexText(HashFile(algorithm, file, buffer)), expected) << c.bytes.size() << " bytes";
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
