// Writing the release level into "ReleaseInfo" through the XML DOM.
#include "engine/release_info.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/error.h"
#include "base/handles.h"
#include "base/utf8.h"
#include "engine/file_ops.h"
#include "tests/kit/file_util.h"
#include "tests/kit/hostile_xml.h"
#include "tests/kit/temp_folder.h"

namespace {

// A release file as the package writes it: UTF-8, LF line ends, a comment,
// attributes, tab and blank indentation, Cyrillic text.
std::string ReleaseFile(const std::string& version, const std::string& level) {
    std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- Velmora release information; maintained by the updater -->
<ROOT format="release" origin="Москва">
	<Version>{version}</Version>
    <Level>{level}</Level>
    <Title lang="ru">Комплекс суточного мониторирования ЭКГ</Title>
    <History>
        <!-- earlier levels -->
        <Entry level="100101" date="2001-01-10">Первый выпуск &amp; исправления</Entry>
    </History>
</ROOT>
)";
    text.replace(text.find("{version}"), 9, version);
    text.replace(text.find("{level}"), 7, level);
    return text;
}

// The error text SetReleaseLevel raises, or "" when it raises none.
std::wstring ErrorOf(const std::wstring& folder, std::wstring_view level) {
    try {
        SetReleaseLevel(folder, level);
    } catch (const Error& e) {
        return e.text();
    }
    return L"";
}

// Files and folders in folder that match pattern.
int EntriesIn(const std::wstring& folder, const wchar_t* pattern = L"*") {
    int count = 0;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((folder + pattern).c_str(), &entry));
    if (!find) return 0;
    do count += wcscmp(entry.cFileName, L".") != 0 && wcscmp(entry.cFileName, L"..") != 0;
    while (FindNextFileW(find.get(), &entry));
    return count;
}

const std::wstring kPrefix = L"Cannot get release information, error: ";

TEST(SetReleaseLevel, ReplacesOnlyTheLevelText) {
    TempFolder folder;
    WriteFileBytes(folder / L"ReleaseInfo", ReleaseFile("1", "100101"));
    SetReleaseLevel(folder.path(), L"250918");
    EXPECT_EQ(ReadFileBytes(folder / L"ReleaseInfo"), ReleaseFile("1", "250918"));
    EXPECT_EQ(EntriesIn(folder.path()), 1) << "no temporary file is left beside it";
}

TEST(SetReleaseLevel, MakesAReadOnlyPackageCopyWritableFirst) {
    TempFolder folder;
    const std::wstring file = folder / L"ReleaseInfo";
    WriteFileBytes(file, ReleaseFile("1", "100101"));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    SetReadOnly(file, false);
    SetReleaseLevel(folder.path(), L"250918");
    EXPECT_EQ(ReadFileBytes(file), ReleaseFile("1", "250918"));
}

TEST(SetReleaseLevel, RefusesFilesItCannotUseAndLeavesThemAlone) {
    const struct {
        const char* what;
        std::string content;
        std::wstring error;  // empty: any text after the prefix
    } cases[] = {
        {"version 2", ReleaseFile("2", "100101"), kPrefix + L"unknown release file version"},
        {"no version", "<ROOT>\n  <Level>100101</Level>\n</ROOT>\n", kPrefix + L"unknown release file version"},
        {"version not a number", ReleaseFile("one", "100101"), kPrefix + L"'one' is not a valid integer value"},
        {"top-level element not ROOT", "<Root><Version>1</Version><Level>1</Level></Root>", L""},
        {"no Level", "<ROOT><Version>1</Version></ROOT>", L""},
        {"not well-formed", "<ROOT><Version>1</Version><Level>100101</Level>", L""},
        {"not XML at all", "Level=100101\n", L""},
        {"empty file", "", L""},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteFileBytes(folder / L"ReleaseInfo", c.content);
        const std::wstring error = ErrorOf(folder.path(), L"250918");
        if (c.error.empty()) {
            EXPECT_EQ(error.rfind(kPrefix, 0), 0u) << c.what << ": " << ToUtf8(error);
            EXPECT_GT(error.size(), kPrefix.size()) << c.what << ": the failure is described";
        } else {
            EXPECT_EQ(error, c.error) << c.what;
        }
        EXPECT_EQ(ReadFileBytes(folder / L"ReleaseInfo"), c.content) << c.what;
    }
}

// Documents built to make a parser spend unbounded time or memory, each
// refused with the release-information error while the file stays as it is.
TEST(SetReleaseLevel, RefusesDocumentsThatWouldExhaustTheParser) {
    const std::string levels = "<Version>1</Version><Level>100101</Level>";
    const std::string laughs = NestedEntityDocument(levels);
    // One entity of 100,000 characters used 10,000 times: a gigabyte.
    std::string quadratic =
        "<!DOCTYPE ROOT [<!ENTITY big \"" + std::string(100000, 'x') + "\">]>\n<ROOT>" + levels;
    for (int i = 0; i < 10000; ++i) quadratic += "&big;";
    quadratic += "</ROOT>";
    std::string deep = "<ROOT>" + levels;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    deep += "</ROOT>";
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"nested entity expansion", laughs},
        {"one large entity used many times", quadratic},
        {"100,000 nested elements", deep},
        {"a document type, even a harmless one",
         "<!DOCTYPE ROOT [<!ELEMENT ROOT ANY>]>\n<ROOT>" + levels + "</ROOT>"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteFileBytes(folder / L"ReleaseInfo", c.content);
        const std::wstring error = ErrorOf(folder.path(), L"250918");
        EXPECT_EQ(error.rfind(kPrefix, 0), 0u) << c.what << ": " << ToUtf8(error);
        EXPECT_GT(error.size(), kPrefix.size()) << c.what << ": the failure is described";
        EXPECT_EQ(ReadFileBytes(folder / L"ReleaseInfo"), c.content) << c.what;
    }
}

TEST(SetReleaseLevel, RefusesAFileTooLargeToBeAReleaseInfo) {
    TempFolder folder;
    const std::wstring file = folder / L"ReleaseInfo";
    {
        // Sparse: nothing of its 16 MiB is written.
        ScopedHandle big(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(big);
        LARGE_INTEGER size;
        size.QuadPart = (16 << 20) + 1;
        ASSERT_TRUE(SetFilePointerEx(big.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(big.get()));
    }
    EXPECT_EQ(ErrorOf(folder.path(), L"250918"),
              kPrefix + L"Cannot read file \"" + file + L"\". The file is larger than 16777216 bytes");
}

TEST(SetReleaseLevel, NeedsTheFile) {
    TempFolder folder;
    EXPECT_EQ(ErrorOf(folder.path(), L"250918"), L"Release info file does not exist");
}

TEST(SetReleaseLevel, AFailedSaveLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::wstring file = folder / L"ReleaseInfo";
    const std::string before = ReleaseFile("1", "100101");
    WriteFileBytes(file, before);
    // Held open for reading by someone else, without leave to replace it.
    HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const std::wstring error = ErrorOf(folder.path(), L"250918");
    CloseHandle(reader);
    EXPECT_EQ(error.rfind(kPrefix + L"Cannot create file \"" + file + L"\". ", 0), 0u) << ToUtf8(error);
    EXPECT_EQ(ReadFileBytes(file), before);
    // Ours only: Wine's ReplaceFileW leaves an empty "rf*.tmp" of its own
    // when the file it replaces is held open.
    EXPECT_EQ(EntriesIn(folder.path(), L"ReleaseInfo*"), 1);
}

}  // namespace
