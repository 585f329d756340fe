// Writing the release level into "ReleaseInfo" through the XML DOM.
#include "engine/release_info.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/system_error.h"
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
std::wstring ErrorOf(const std::wstring& folder, std::wstring_view level,
                     ParserPropertySetter setProperty = SetParserProperty) {
    try {
        SetReleaseLevel(folder, level, setProperty);
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
// The two ways a damaged or hostile document is refused: by the parser,
// with its reason in brackets (Wine's parser gives "error"), or after the
// load for its document type declaration.
const std::wstring kParserRefusal =
    kPrefix + L"the file is not a well-formed XML document or goes beyond the parser's limits (error)";
const std::wstring kDocumentTypeRefusal = kPrefix + L"the file has a document type declaration";

// One parser property the load asked for: its value as text, whether the
// parser took it, and the value the parser reads back ("" where it keeps
// none it can tell).
struct AskedProperty {
    std::wstring name, value;
    bool taken = false;
    std::wstring readBack;
    bool afterLoad = false;  // the document already held an element
};
std::vector<AskedProperty> asked;

std::wstring ValueText(const VARIANT& value) {
    if (value.vt == VT_BOOL) return value.boolVal == VARIANT_TRUE ? L"true" : L"false";
    if (value.vt == VT_I4) return std::to_wstring(value.lVal);
    return L"type " + std::to_wstring(value.vt);
}

HRESULT RecordParserProperty(IXMLDOMDocument2* document, std::wstring_view name, const VARIANT& value) {
    const HRESULT result = SetParserProperty(document, name, value);
    Microsoft::WRL::ComPtr<IXMLDOMElement> root;
    const bool loaded = SUCCEEDED(document->get_documentElement(&root)) && root;
    AskedProperty property{std::wstring(name), ValueText(value), SUCCEEDED(result), L"", loaded};
    BSTR propertyName = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
    VARIANT back;
    VariantInit(&back);
    if (property.taken && SUCCEEDED(document->getProperty(propertyName, &back)))
        property.readBack = ValueText(back);
    VariantClear(&back);
    SysFreeString(propertyName);
    asked.push_back(property);
    return result;
}

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
        std::wstring error;
    } cases[] = {
        {"version 2", ReleaseFile("2", "100101"), kPrefix + L"unknown release file version"},
        {"no version", "<ROOT>\n  <Level>100101</Level>\n</ROOT>\n", kPrefix + L"unknown release file version"},
        {"version not a number", ReleaseFile("one", "100101"), kPrefix + L"'one' is not a valid integer value"},
        {"top-level element not ROOT", "<Root><Version>1</Version><Level>1</Level></Root>",
         kPrefix + L"the top-level element is not ROOT"},
        {"no Level", "<ROOT><Version>1</Version></ROOT>", kPrefix + L"ROOT has no Level element"},
        {"not well-formed", "<ROOT><Version>1</Version><Level>100101</Level>", kParserRefusal},
        {"not XML at all", "Level=100101\n", kParserRefusal},
        {"empty file", "", kParserRefusal},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteFileBytes(folder / L"ReleaseInfo", c.content);
        const std::wstring error = ErrorOf(folder.path(), L"250918");
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(ReadFileBytes(folder / L"ReleaseInfo"), c.content) << c.what;
    }
}

// Whether the XML parser is Wine's msxml3, which takes the bounds below
// but tells none of them back (its getProperty knows only the selection
// properties); MSXML on Windows reads each back as it was set.
bool ParserKeepsBoundsToItself() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The bounds are asked of the parser before it loads anything: no DTD, a
// depth of 256 elements, 16 MiB; each reads back as asked where the parser
// tells its bounds at all. Wine's parser stops hostile documents by limits
// of its own, so the documents alone cannot show a missing bound.
TEST(SetReleaseLevel, AsksTheParserForItsBoundsBeforeLoading) {
    TempFolder folder;
    WriteFileBytes(folder / L"ReleaseInfo", ReleaseFile("1", "100101"));
    asked.clear();
    SetReleaseLevel(folder.path(), L"250918", RecordParserProperty);
    ASSERT_EQ(asked.size(), 3u);
    const wchar_t* const names[] = {L"ProhibitDTD", L"MaxElementDepth", L"MaxXMLSize"};
    const wchar_t* const values[] = {L"true", L"256", L"16384"};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(ToUtf8(names[i]));
        EXPECT_EQ(asked[i].name, names[i]);
        EXPECT_EQ(asked[i].value, values[i]);
        EXPECT_EQ(asked[i].readBack, ParserKeepsBoundsToItself() ? L"" : values[i]);
        EXPECT_FALSE(asked[i].afterLoad) << "asked after the document was loaded";
    }
    EXPECT_TRUE(asked[0].taken) << "a parser that refuses ProhibitDTD ends the load";
    EXPECT_EQ(ReadFileBytes(folder / L"ReleaseInfo"), ReleaseFile("1", "250918"));
}

// A parser that refuses to do without a DTD is not used at all.
HRESULT RefuseProhibitDtd(IXMLDOMDocument2* document, std::wstring_view name, const VARIANT& value) {
    return name == L"ProhibitDTD" ? E_INVALIDARG : SetParserProperty(document, name, value);
}

TEST(SetReleaseLevel, AParserThatCannotProhibitDtdsIsNotUsed) {
    TempFolder folder;
    WriteFileBytes(folder / L"ReleaseInfo", ReleaseFile("1", "100101"));
    EXPECT_EQ(ErrorOf(folder.path(), L"250918", RefuseProhibitDtd),
              kPrefix + SystemErrorText(static_cast<DWORD>(E_INVALIDARG)));
    EXPECT_EQ(ReadFileBytes(folder / L"ReleaseInfo"), ReleaseFile("1", "100101"));
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
    // Wine's parser takes a document type and ignores the depth bound (see
    // above); its own limits stop the expansion and the depth, the check
    // after the load the rest.
    const struct {
        const char* what;
        std::string content;
        std::wstring error;
    } cases[] = {
        {"nested entity expansion", laughs, kParserRefusal},
        {"one large entity used many times", quadratic, kDocumentTypeRefusal},
        {"100,000 nested elements", deep, kParserRefusal},
        {"a document type, even a harmless one",
         "<!DOCTYPE ROOT [<!ELEMENT ROOT ANY>]>\n<ROOT>" + levels + "</ROOT>", kDocumentTypeRefusal},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        WriteFileBytes(folder / L"ReleaseInfo", c.content);
        const std::wstring error = ErrorOf(folder.path(), L"250918");
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(ReadFileBytes(folder / L"ReleaseInfo"), c.content) << c.what;
    }
}

TEST(SetReleaseLevel, RefusesAFileTooLargeToBeAReleaseInfo) {
    TempFolder folder;
    const std::wstring file = folder / L"ReleaseInfo";
    WriteSparseFile(file, (16 << 20) + 1);
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
