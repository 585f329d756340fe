// Font installation into a fonts folder and registry key of the test's own,
// with real TrueType files; one test installs into the system itself and
// runs only in a Wine prefix of its own (VH_FONTS_PREFIX_TEST=1).
#include "engine/fonts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/system_error.h"
#include "base/utf8.h"
#include "tests/kit/file_util.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"

namespace {

// Each package font with the real font standing in for it and its full name.
struct PackageFont {
    const wchar_t* name;
    const wchar_t* source;
    const wchar_t* face;
};
const PackageFont kFonts[] = {
    {L"ARIAL.TTF", L"liberation\\LiberationSans-Regular.ttf", L"Liberation Sans"},
    {L"ARIALN.TTF", L"liberation\\LiberationSansNarrow-Regular.ttf", L"Liberation Sans Narrow"},
    {L"COUR.TTF", L"liberation\\LiberationMono-Regular.ttf", L"Liberation Mono"},
    {L"MICROSS.TTF", L"dejavu\\DejaVuSans.ttf", L"DejaVu Sans"},
    {L"TAHOMA.TTF", L"dejavu\\DejaVuSansCondensed.ttf", L"DejaVu Sans Condensed"},
    {L"TIMES.TTF", L"liberation\\LiberationSerif-Regular.ttf", L"Liberation Serif"},
    {L"verdana.TTF", L"dejavu\\DejaVuSerif.ttf", L"DejaVu Serif"},
};
constexpr wchar_t kHostFonts[] = L"Z:\\usr\\share\\fonts\\truetype\\";
constexpr wchar_t kTestKey[] = L"Software\\Velmora tests\\Fonts";

// The progress line; its "c" is the Latin letter.
std::wstring Line(const std::wstring& face) {
    return L"Шрифт <" + face + L"> у\x0063тановлен";
}

// The REG_SZ values of a key, name to data.
std::map<std::wstring, std::wstring> ValuesOf(HKEY root, const wchar_t* path) {
    std::map<std::wstring, std::wstring> values;
    ScopedRegKey key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        wchar_t data[256] = {};
        DWORD nameLength = 256, dataSize = sizeof(data) - sizeof(wchar_t), type = 0;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &dataSize) != ERROR_SUCCESS)
            break;
        if (type == REG_SZ) values[name] = data;
    }
    return values;
}

class FontsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW((installer_ / L"fonts").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(targets_.fontsFolder.c_str(), nullptr));
        for (const PackageFont& font : kFonts) {
            ASSERT_TRUE(
                CopyFileW((std::wstring(kHostFonts) + font.source).c_str(), Source(font.name).c_str(), FALSE))
                << ToUtf8(font.source) << " (packages fonts-liberation, fonts-dejavu-core)";
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        ScopedRegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key.receive(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

    std::wstring Source(const wchar_t* name) const { return installer_ / L"fonts\\" + name; }
    std::wstring Installed(const wchar_t* name) const { return JoinPath(targets_.fontsFolder, name); }

    // Runs InstallFonts; returns the error text it raised, or "".
    std::wstring Install(FileCopy copy = CopyFileWithDate) {
        try {
            InstallFonts(
                installer_.path(), [&](std::wstring_view line) { lines_.emplace_back(line); }, targets_, copy);
        } catch (const Error& e) {
            return e.text();
        }
        return L"";
    }

    TempFolder installer_;
    TempFolder system_;
    FontTargets targets_{system_ / L"Fonts\\", HKEY_CURRENT_USER, kTestKey};
    std::vector<std::wstring> lines_;
};

TEST_F(FontsTest, InstallsAllSevenInOrderWithTheirFaceNames) {
    EXPECT_EQ(Install(), L"");
    std::vector<std::wstring> expectedLines;
    std::map<std::wstring, std::wstring> expectedValues;
    for (const PackageFont& font : kFonts) {
        expectedLines.push_back(Line(font.face));
        expectedValues[std::wstring(font.face) + L" (TrueType)"] = font.name;
        EXPECT_EQ(ReadFileBytes(Installed(font.name)), ReadFileBytes(Source(font.name))) << ToUtf8(font.name);
    }
    EXPECT_EQ(lines_, expectedLines);
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, kTestKey), expectedValues);
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, kTestKey)[L"DejaVu Serif (TrueType)"], L"verdana.TTF")
        << "the file name exactly as listed";
}

// Writes the REG_SZ value name = data under the test key.
void SetValue(const std::wstring& name, const std::wstring& data) {
    ScopedRegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_SET_VALUE, key.receive()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// A font counts as present when its file is there and a registry value names
// it, in any case and also by a full path, as Windows writes its own.
TEST_F(FontsTest, LeavesPresentFontsAloneWhateverTheirContent) {
    std::map<std::wstring, std::wstring> values;
    for (const PackageFont& font : kFonts) {
        const std::wstring name = font.name;
        if (name == L"TAHOMA.TTF") continue;
        WriteFileBytes(Installed(font.name), "old");
        values[L"Old " + name + L" (TrueType)"] = name == L"COUR.TTF"
                                                      ? JoinPath(targets_.fontsFolder, L"cour.ttf")
                                                      : (name == L"ARIAL.TTF" ? L"arial.ttf" : name);
    }
    for (const auto& [name, data] : values) SetValue(name, data);
    EXPECT_EQ(Install(), L"");
    EXPECT_EQ(lines_, std::vector<std::wstring>{Line(L"DejaVu Sans Condensed")});
    values[L"DejaVu Sans Condensed (TrueType)"] = L"TAHOMA.TTF";
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, kTestKey), values);
    EXPECT_EQ(ReadFileBytes(Installed(L"TAHOMA.TTF")), ReadFileBytes(Source(L"TAHOMA.TTF")));
    EXPECT_EQ(ReadFileBytes(Installed(L"ARIAL.TTF")), "old");

    lines_.clear();
    EXPECT_EQ(Install(), L"") << "now all seven are present";
    EXPECT_TRUE(lines_.empty());
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, kTestKey), values);
}

// A run that ended between copying a font and registering it left the file
// without its value: the next run installs that font whole, with its line.
TEST_F(FontsTest, AHalfRegisteredFontIsInstalledWholeOnTheNextRun) {
    const SetupLogCapture log;
    ASSERT_TRUE(CopyFileW(Source(L"COUR.TTF").c_str(), Installed(L"COUR.TTF").c_str(), FALSE));
    EXPECT_EQ(Install(), L"");
    EXPECT_EQ(lines_.size(), std::size(kFonts)) << "every font, the half-registered one too";
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, kTestKey)[std::wstring(kFonts[2].face) + L" (TrueType)"], L"COUR.TTF");
    EXPECT_TRUE(log.Has(L"Font file without its registry value (a run ended before registering it): " +
                        Installed(L"COUR.TTF")))
        << log.Dump();
}

TEST_F(FontsTest, AMissingSourceFontEndsInstallationAfterTheEarlierFonts) {
    ASSERT_TRUE(DeleteFileW(Source(L"COUR.TTF").c_str()));
    const std::wstring error = Install();
    EXPECT_EQ(error.rfind(L"Cannot open file \"" + Source(L"COUR.TTF") + L"\". ", 0), 0u) << ToUtf8(error);
    EXPECT_EQ(lines_, (std::vector<std::wstring>{Line(L"Liberation Sans"), Line(L"Liberation Sans Narrow")}));
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, kTestKey).size(), 2u);
    for (const wchar_t* name : {L"COUR.TTF", L"MICROSS.TTF", L"TAHOMA.TTF", L"TIMES.TTF", L"verdana.TTF"})
        EXPECT_FALSE(PathExists(Installed(name))) << ToUtf8(name);
}

// The copy is removed again: a font file without its registry value would
// count as installed at every later run and never be repaired.
TEST_F(FontsTest, AnUnwritableRegistryKeyEndsInstallationAndRemovesTheCopy) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    const SetupLogCapture log;
    EXPECT_EQ(Install(), L"Failed to set data for 'Liberation Sans (TrueType)'");
    EXPECT_TRUE(lines_.empty());
    EXPECT_FALSE(PathExists(Installed(L"ARIAL.TTF")));
    EXPECT_FALSE(PathExists(Installed(L"ARIALN.TTF")));
    EXPECT_EQ(log.Find(L"Font registry value not written: "),
              L"Font registry value not written: Liberation Sans (TrueType): error 2: " +
                  SystemErrorText(ERROR_FILE_NOT_FOUND))
        << log.Dump();
    HKEY created = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &created), ERROR_SUCCESS)
        << "the key is not created";

    // A later run, with the key in place, installs the font whole.
    ScopedRegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(),
                              nullptr),
              ERROR_SUCCESS);
    key.reset();
    EXPECT_EQ(Install(), L"");
    EXPECT_EQ(ReadFileBytes(Installed(L"ARIAL.TTF")), ReadFileBytes(Source(L"ARIAL.TTF")));
    EXPECT_EQ(lines_.size(), 7u);
}

// A copy of COUR.TTF that stops half-way, as on a disk that runs full; the
// other fonts copy whole.
Result<> CopyRunningOutOfRoomAtCour(std::wstring_view source, std::wstring_view destination) {
    if (!destination.ends_with(L"\\COUR.TTF")) return CopyFileWithDate(source, destination);
    const std::string bytes = ReadFileBytes(std::wstring(source));
    WriteFileBytes(std::wstring(destination), bytes.substr(0, bytes.size() / 2));
    return Result<>::Failure(L"Cannot write " + std::wstring(destination), ERROR_DISK_FULL);
}

// A font that was not written whole is not left in the fonts folder: it
// would count as installed at every later run. Nothing of it is registered
// and no line claims it; the fonts before it stay, those after it are not
// tried. The same on a real full disk is in the fault tests.
TEST_F(FontsTest, AFontCopyCutShortIsRemovedAndEndsInstallation) {
    EXPECT_EQ(Install(CopyRunningOutOfRoomAtCour),
              L"Cannot write file \"" + Installed(L"COUR.TTF") + L"\". " + SystemErrorText(ERROR_DISK_FULL));
    EXPECT_EQ(lines_, (std::vector<std::wstring>{Line(L"Liberation Sans"), Line(L"Liberation Sans Narrow")}));
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, kTestKey),
              (std::map<std::wstring, std::wstring>{{L"Liberation Sans (TrueType)", L"ARIAL.TTF"},
                                                    {L"Liberation Sans Narrow (TrueType)", L"ARIALN.TTF"}}));
    for (const wchar_t* name : {L"COUR.TTF", L"MICROSS.TTF", L"TAHOMA.TTF", L"TIMES.TTF", L"verdana.TTF"})
        EXPECT_FALSE(PathExists(Installed(name))) << ToUtf8(name);

    // The next run installs it whole.
    lines_.clear();
    EXPECT_EQ(Install(), L"");
    EXPECT_EQ(ReadFileBytes(Installed(L"COUR.TTF")), ReadFileBytes(Source(L"COUR.TTF")));
    EXPECT_EQ(lines_.size(), 5u);
}

TEST_F(FontsTest, ReadsFaceNamesFromFontFilesOnly) {
    EXPECT_EQ(ReadFontFaceName(Source(L"verdana.TTF")), L"DejaVu Serif");
    WriteFileBytes(installer_ / L"not a font.ttf", "just text, no font tables");
    EXPECT_EQ(ReadFontFaceName(installer_ / L"not a font.ttf"), L"");
    EXPECT_EQ(ReadFontFaceName(installer_ / L"missing.ttf"), L"");
}

// Installs into the Windows fonts folder and HKEY_LOCAL_MACHINE. Run only in a
// prefix made for it: it first removes the seven fonts from that system.
TEST(SystemFonts, InstallIntoTheWindowsFontsFolderAndTheMachineRegistry) {
    const char* allowed = std::getenv("VH_FONTS_PREFIX_TEST");
    if (!allowed || std::string(allowed) != "1") GTEST_SKIP() << "changes the system; needs a prefix of its own";

    wchar_t windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const FontTargets system = SystemFontTargets();
    EXPECT_EQ(system.fontsFolder, std::wstring(windows) + L"\\fonts");
    EXPECT_EQ(system.registryRoot, HKEY_LOCAL_MACHINE);
    ScopedRegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, system.registryKey.c_str(), 0, KEY_ALL_ACCESS, key.receive()),
              ERROR_SUCCESS);
    for (const PackageFont& font : kFonts) {
        DeleteFileW((JoinPath(system.fontsFolder, font.name)).c_str());
        RegDeleteValueW(key.get(), (std::wstring(font.face) + L" (TrueType)").c_str());
    }

    TempFolder installer;
    ASSERT_TRUE(CreateDirectoryW((installer / L"fonts").c_str(), nullptr));
    for (const PackageFont& font : kFonts)
        ASSERT_TRUE(CopyFileW((std::wstring(kHostFonts) + font.source).c_str(),
                              (installer / L"fonts\\" + font.name).c_str(), FALSE));
    std::vector<std::wstring> lines;
    InstallFonts(installer.path(), [&](std::wstring_view line) { lines.emplace_back(line); });

    EXPECT_EQ(lines.size(), 7u);
    const auto values = ValuesOf(HKEY_LOCAL_MACHINE, system.registryKey.c_str());
    for (const PackageFont& font : kFonts) {
        EXPECT_TRUE(PathExists(JoinPath(system.fontsFolder, font.name))) << ToUtf8(font.name);
        const auto value = values.find(std::wstring(font.face) + L" (TrueType)");
        ASSERT_NE(value, values.end()) << ToUtf8(font.face);
        EXPECT_EQ(value->second, font.name);
    }
}

}  // namespace
