// INI files on disk: encodings kept, writes that never leave a broken file.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <vector>

#include "base/error.h"
#include "base/file_system.h"
#include "base/handles.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "engine/ini_file.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

// "[Общие]\r\nИмя=Иванов\r\n" in each encoding, and the same file after
// Disk=I was set in it.
struct EncodingCase {
    const char* what;
    std::string before;
    std::string after;
    TextEncoding encoding;
};

std::string Utf16(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    for (wchar_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

const std::wstring kBefore = L"[Общие]\r\nИмя=Иванов\r\n";
const std::wstring kAfter = L"[Общие]\r\nИмя=Иванов\r\nDisk=I\r\n\r\n";

TEST(IniFile, WritesBackInTheEncodingItWasReadIn) {
    const EncodingCase cases[] = {
        {"UTF-8 with mark",
         "\xEF\xBB\xBF[\xD0\x9E\xD0\xB1\xD1\x89\xD0\xB8\xD0\xB5]\r\n"
         "\xD0\x98\xD0\xBC\xD1\x8F=\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\r\n",
         "\xEF\xBB\xBF[\xD0\x9E\xD0\xB1\xD1\x89\xD0\xB8\xD0\xB5]\r\n"
         "\xD0\x98\xD0\xBC\xD1\x8F=\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\r\nDisk=I\r\n\r\n",
         TextEncoding::Utf8},
        {"UTF-16 LE with mark", "\xFF\xFE" + Utf16(kBefore, false), "\xFF\xFE" + Utf16(kAfter, false),
         TextEncoding::Utf16Le},
        {"UTF-16 BE with mark", "\xFE\xFF" + Utf16(kBefore, true), "\xFE\xFF" + Utf16(kAfter, true),
         TextEncoding::Utf16Be},
        {"ANSI (code page 1251)", "[\xCE\xE1\xF9\xE8\xE5]\r\n\xC8\xEC\xFF=\xC8\xE2\xE0\xED\xEE\xE2\r\n",
         "[\xCE\xE1\xF9\xE8\xE5]\r\n\xC8\xEC\xFF=\xC8\xE2\xE0\xED\xEE\xE2\r\nDisk=I\r\n\r\n", TextEncoding::Ansi},
    };
    ASSERT_EQ(GetACP(), 1251u) << "the tests run with Russian regional settings";
    TempFolder temp;
    for (const EncodingCase& c : cases) {
        const std::wstring path = temp / L"btooth.ini";
        WriteFileBytes(path, c.before);
        IniFile file(path);
        EXPECT_EQ(file.Encoding(), c.encoding) << c.what;
        EXPECT_EQ(file.Document().Value(L"общие", L"имя"), L"Иванов") << c.what;
        file.WriteString(L"Общие", L"Disk", L"I");
        file.UpdateFile();
        EXPECT_EQ(ReadFileBytes(path), c.after) << c.what;
    }
}

TEST(IniFile, NewFileIsWrittenInTheAnsiCodePage) {
    TempFolder temp;
    IniFile file(temp / L"holter.ini");
    file.WriteInteger(L"options", L"FilterType", 0);
    file.WriteInteger(L"options", L"HardwareType", 1);
    file.WriteString(L"Пациент", L"Имя", L"Ё");
    file.UpdateFile();
    EXPECT_EQ(ReadFileBytes(temp / L"holter.ini"),
              "[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n[\xCF\xE0\xF6\xE8\xE5\xED\xF2]\r\n\xC8\xEC\xFF="
              "\xA8\r\n\r\n");
}

TEST(IniFile, FailedWriteNamesTheFileAndLeavesTheOldOneWhole) {
    TempFolder temp;
    const std::wstring missing = temp / L"missing\\holter.ini";
    IniFile orphan(missing);
    orphan.WriteInteger(L"options", L"FilterType", 0);
    try {
        orphan.UpdateFile();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Cannot create file \"" + missing + L"\". " + SystemErrorText(ERROR_PATH_NOT_FOUND));
    }

    // Another program has the file open for reading and refuses writers.
    const std::wstring path = temp / L"holter.ini";
    WriteFileBytes(path, "[options]\r\nFilterType=3\r\n");
    IniFile file(path);
    file.WriteInteger(L"options", L"FilterType", 0);
    {
        ScopedHandle reader(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        try {
            file.UpdateFile();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text().rfind(L"Cannot create file \"" + path + L"\". ", 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(ReadFileBytes(path), "[options]\r\nFilterType=3\r\n");
    // Ours only: Wine's ReplaceFileW leaves an empty "rf*.tmp" of its own
    // when the file it replaces is held open.
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((temp / L"holter.ini.~*").c_str(), &entry));
    EXPECT_FALSE(find) << "no temporary file is left behind";
}

TEST(IniFile, UnreadableFileIsReportedWhenLoading) {
    TempFolder temp;
    const std::wstring path = temp / L"holter.ini";
    WriteFileBytes(path, "[options]\r\n");
    ScopedHandle holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    try {
        IniFile file(path);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Cannot open file \"" + path + L"\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
    }
}

// The file's access list as security descriptor text, "" when unreadable.
std::wstring AccessListOf(const std::wstring& path) {
    DWORD needed = 0;
    GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<unsigned char> descriptor(needed);
    if (needed == 0 ||
        !GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        return L"";
    LPWSTR text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return L"";
    const std::wstring result = text;
    LocalFree(text);
    return result;
}

TEST(IniFile, RewriteKeepsTheFilesAccessListAndAttributes) {
    TempFolder temp;
    const std::wstring path = temp / L"holter.ini";
    WriteFileBytes(path, "[options]\r\nFilterType=3\r\n");
    // What a clinic sets so that its program, run without administrator
    // rights, can save its settings: everyone may change this one file (an
    // entry Wine can hold, in the file's mode bits).
    PSECURITY_DESCRIPTOR wanted = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1301bf;;;WD)", SDDL_REVISION_1, &wanted, nullptr));
    const BOOL set = SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, wanted);
    LocalFree(wanted);
    ASSERT_TRUE(set);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::wstring before = AccessListOf(path);
    ASSERT_NE(before.find(L";;;WD)"), std::wstring::npos) << "everyone's entry is in place: " << ToUtf8(before);

    IniFile file(path);
    file.WriteInteger(L"options", L"FilterType", 0);
    file.UpdateFile();

    EXPECT_EQ(ReadFileBytes(path), "[options]\r\nFilterType=0\r\n\r\n");
    EXPECT_EQ(AccessListOf(path), before);
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

// The read limit is 64 MiB. A file of 4 GiB + 1 byte reads as 1 byte to a
// size kept in 32 bits.
TEST(IniFile, FileLargerThanTheReadLimitIsRefusedWhenLoading) {
    const struct {
        const char* what;
        uint64_t size;
    } cases[] = {
        {"one byte over 64 MiB", 67108865},
        {"4 GiB + 1 byte", 4294967297},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        const std::wstring path = temp / L"holter.ini";
        WriteSparseFile(path, c.size);
        try {
            IniFile file(path);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), L"Cannot read file \"" + path + L"\". The file is larger than 67108864 bytes");
        }
    }
}

}  // namespace
