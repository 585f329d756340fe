// Damaged or odd files the installation reads and rewrites: the clinic's
// "holter.ini" in other encodings, with NUL bytes, endless lines or plain
// garbage, and a package "ReleaseInfo" that is malformed, huge, or asks for
// a local file through an external entity.
#include <windows.h>

#include <cstdint>

#include "base/utf8.h"
#include "engine/ini_file.h"
#include "tests/kit/hostile_xml.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

using namespace std::string_literals;

std::string Utf16(std::wstring_view text, bool bigEndian) {
    std::string bytes;
    for (wchar_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Bytes that are no text at all (and start with no byte-order mark).
std::string Garbage(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (char& b : bytes) {
        state = state * 1103515245 + 12345;
        b = static_cast<char>(state >> 16);
    }
    bytes[0] = 'g';
    return bytes;
}

class CorruptInput : public FaultTest {};

TEST_F(CorruptInput, SettingsFileIsRewrittenWithTheTwoKeysAndEverythingItCouldRead) {
    const std::wstring text = L"[Common]\r\nЯзык=Русский\r\n[Options]\r\nFilterType=3\r\n";
    const std::wstring rewritten =
        L"[Common]\r\nЯзык=Русский\r\n\r\n[Options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n";
    const std::string longValue(100000, '\xC6');  // "Ж" in code page 1251
    struct Case {
        const char* what;
        std::string before, after;
    };
    const Case cases[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + ToUtf8(text), "\xEF\xBB\xBF" + ToUtf8(rewritten)},
        {"UTF-16 little-endian with its mark", "\xFF\xFE" + Utf16(text, false),
         "\xFF\xFE" + Utf16(rewritten, false)},
        {"UTF-16 big-endian with its mark", "\xFE\xFF" + Utf16(text, true), "\xFE\xFF" + Utf16(rewritten, true)},
        {"NUL bytes", "[Common]\r\nName=a\0b\r\n\0\r\n[options]\r\nHardwareType=5\r\n"s,
         "[Common]\r\nName=a\0b\r\n\r\n[options]\r\nHardwareType=1\r\nFilterType=0\r\n\r\n"s},
        {"a line of 100,000 characters", "[Common]\r\nPath=" + longValue + "\r\n",
         "[Common]\r\nPath=" + longValue + "\r\n\r\n[options]\r\nFilterType=0\r\nHardwareType=1\r\n\r\n"},
    };
    Build();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(install_);
        UseInstallFolder(install_);
        WriteFileBytes(install_ + L"Settings\\holter.ini", c.before);
        EXPECT_EQ(Run(), std::nullopt);
        EXPECT_EQ(view_.events, kEventsOfAWholeRun);
        ExpectNothingLost(Database::KeptAside, c.after);
    }
}

// Files that are no ANSI text are read as such all the same (garbage, and
// UTF-16 without its mark, which the package's programs cannot read either):
// the rewritten file reads exactly as the old one did, with the two keys.
TEST_F(CorruptInput, SettingsFileThatIsNoTextKeepsWhatItReadsAs) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"10 MB of garbage", Garbage(10 * 1024 * 1024)},
        {"UTF-16 without its mark", Utf16(L"[Common]\r\nЯзык=Русский\r\n[Options]\r\nFilterType=3\r\n", false)},
    };
    Build();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(install_);
        UseInstallFolder(install_);
        const std::wstring original = temp_ / L"original.ini";
        WriteFileBytes(original, c.bytes);
        WriteFileBytes(install_ + L"Settings\\holter.ini", c.bytes);
        EXPECT_EQ(Run(), std::nullopt);
        EXPECT_EQ(view_.events, kEventsOfAWholeRun);

        IniFile expected(original);
        expected.WriteInteger(L"options", L"FilterType", 0);
        expected.WriteInteger(L"options", L"HardwareType", 1);
        IniFile written(install_ + L"Settings\\holter.ini");
        EXPECT_EQ(written.Encoding(), TextEncoding::Ansi);
        EXPECT_TRUE(written.Document() == expected.Document());
        EXPECT_EQ(written.Document().Value(L"options", L"HardwareType"), L"1");
        ExpectCounterAndDatabaseKept(Database::KeptAside);
    }
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST_F(CorruptInput, ReleaseInfoIsRewrittenOrRefusedWithoutReadingLocalFiles) {
    const std::wstring secretFile = temp_ / L"secret.txt";
    WriteFileBytes(secretFile, "PATIENT-LIST-SECRET");
    std::string url = "file:///" + ToUtf8(secretFile);
    for (char& c : url)
        if (c == '\\') c = '/';
    WriteFileBytes(temp_ / L"secret.dtd", "<!ENTITY secret \"PATIENT-LIST-SECRET\">");
    std::string dtdUrl = Replaced(url, "secret.txt", "secret.dtd");

    const std::string levels = "<Version>1</Version><Level>100101</Level>";
    std::string huge = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ROOT>" + levels + "<History>";
    for (int i = 0; i < 40000; ++i)
        huge += "<Update n=\"" + std::to_string(i) + "\">Обновление комплекса</Update>";
    huge += "</History></ROOT>\n";
    const std::string laughs = NestedEntityDocument(levels);

    // How the file fares: rewritten, or refused with the release-information
    // error and left as it came, by the parser (Wine's gives "error" as its
    // reason) or, where the parser took it, for its document type.
    enum class Outcome { Written, RefusedByParser, RefusedForDocumentType };
    const std::wstring refusal = L"Cannot get release information, error: ";
    const std::wstring byParser =
        refusal + L"the file is not a well-formed XML document or goes beyond the parser's limits (error)";
    const std::wstring forDocumentType = refusal + L"the file has a document type declaration";
    struct Case {
        const char* what;
        std::string xml;
        Outcome outcome;
    };
    const Case cases[] = {
        {"not well-formed", "<ROOT>" + levels, Outcome::RefusedByParser},
        {"huge", huge, Outcome::Written},
        {"entities that expand to gigabytes", laughs, Outcome::RefusedByParser},
        // A document type is refused outright: the updater's file has none.
        {"an external entity naming a local file",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE ROOT [\n<!ENTITY secret SYSTEM \"" + url + "\">\n]>\n<ROOT>" +
             levels + "<Note>&secret;</Note></ROOT>\n",
         Outcome::RefusedForDocumentType},
        {"an external parameter entity naming a local file",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE ROOT [\n<!ENTITY % local SYSTEM \"" + dtdUrl +
             "\">\n%local;\n]>\n<ROOT>" + levels + "<Note>&secret;</Note></ROOT>\n",
         Outcome::RefusedByParser},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(package_);
        PackageOptions options;
        options.releaseInfo = c.xml;
        Build(options);
        RemoveTree(install_);
        UseInstallFolder(install_);

        const std::optional<std::wstring> error = Run();
        const std::string saved = ReadFileBytes(install_ + L"ReleaseInfo");
        EXPECT_EQ(saved.find("PATIENT-LIST-SECRET"), std::string::npos);
        if (c.outcome == Outcome::Written) {
            EXPECT_EQ(error, std::nullopt);
            EXPECT_TRUE(saved == Replaced(c.xml, "<Level>100101</Level>", "<Level>010124</Level>"));
            EXPECT_EQ(view_.events, kEventsOfAWholeRun);
        } else {
            EXPECT_EQ(error, c.outcome == Outcome::RefusedByParser ? byParser : forDocumentType);
            EXPECT_TRUE(saved == c.xml);
            EXPECT_EQ(view_.events, kEventsEndingAfterDeployment);
        }
        ExpectNothingLost(Database::KeptAside);
    }
}

}  // namespace
}  // namespace faults
