// The installation record: a whole installation with the record kept, read
// back against the package; a copy damaged between the copy and the
// read-back is reported on screen, in the setup log and in the record.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/strings.h"
#include "base/utf8.h"
#include "engine/fonts.h"
#include "engine/install_sequence.h"
#include "tests/kit/file_util.h"
#include "tests/kit/package_builder.h"
#include "tests/kit/recording_view.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/temp_folder.h"

namespace {

// The copy of the installation, except that it damages one runtime file
// right after copying it, as a failing disk or a meddling program would.
Result<> CopyDamagingGbak(std::wstring_view source, std::wstring_view destination) {
    const Result<> copied = CopyFileWithDate(source, destination);
    if (copied && NameOf(destination) == L"gbak.exe") {
        std::string bytes = ReadFileBytes(std::wstring(destination));
        bytes[0] ^= 1;
        WriteFileBytes(std::wstring(destination), bytes);
    }
    return copied;
}

// The record files in folder.
std::vector<std::wstring> RecordsIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    ScopedFindHandle find(FindFirstFileW((folder + L"VelmoraSetup record *.txt").c_str(), &entry));
    if (!find) return names;
    do names.push_back(folder + entry.cFileName);
    while (FindNextFileW(find.get(), &entry));
    return names;
}

// The record's line for the file at relative (tab-separated fields).
std::vector<std::wstring> RecordLine(const std::wstring& record, const std::wstring& relative) {
    const std::wstring text = FromUtf8(ReadFileBytes(record));
    const size_t at = text.find(L"\r\n" + relative + L"\t");
    if (at == std::wstring::npos) return {};
    const std::wstring line = text.substr(at + 2, text.find(L"\r\n", at + 2) - at - 2);
    std::vector<std::wstring> fields;
    for (size_t start = 0;;) {
        const size_t tab = line.find(L'\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::wstring::npos) return fields;
        start = tab + 1;
    }
}

// "да" when this process runs with the administrators' rights, "нет" when
// not, asked as the shell asks it: whether the token in use counts as a
// member of the Administrators group (a filtered token of an administrator
// holds the group for denial only).
std::wstring ExpectedElevation() {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &sid))
        return L"(no SID)";
    const std::unique_ptr<void, decltype(&FreeSid)> administrators(sid, FreeSid);
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators.get(), &member)) return L"(no answer)";
    return member ? L"да" : L"нет";
}

// Removes the font file name from the system: its file in the fonts folder
// and every registry value that names it.
void TakeFontOutOfTheSystem(const FontTargets& system, const std::wstring& name) {
    DeleteFileW((JoinPath(system.fontsFolder, name)).c_str());
    ScopedRegKey key;
    ASSERT_EQ(
        RegOpenKeyExW(system.registryRoot, system.registryKey.c_str(), 0, KEY_READ | KEY_SET_VALUE, key.receive()),
        ERROR_SUCCESS);
    for (DWORD index = 0;;) {
        wchar_t value[512];
        wchar_t data[MAX_PATH];
        DWORD valueLength = 512, dataSize = sizeof(data), type = 0;
        if (RegEnumValueW(key.get(), index, value, &valueLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &dataSize) != ERROR_SUCCESS)
            return;
        const std::wstring named(data, type == REG_SZ ? wcsnlen(data, dataSize / sizeof(wchar_t)) : 0);
        if (named.size() >= name.size() &&
            _wcsicmp(named.substr(named.size() - name.size()).c_str(), name.c_str()) == 0)
            ASSERT_EQ(RegDeleteValueW(key.get(), value), ERROR_SUCCESS);
        else
            ++index;
    }
}

// Puts the package's font file name into the system as an earlier
// installation left it, unless it is there.
void PutFontIntoTheSystem(const FontTargets& system, const std::wstring& packageFonts, const std::wstring& name) {
    if (IsFontInstalled(system, name)) return;
    ASSERT_TRUE(
        CopyFileW(JoinPath(packageFonts, name).c_str(), (JoinPath(system.fontsFolder, name)).c_str(), FALSE));
    ScopedRegKey key;
    ASSERT_EQ(RegOpenKeyExW(system.registryRoot, system.registryKey.c_str(), 0, KEY_SET_VALUE, key.receive()),
              ERROR_SUCCESS);
    const std::wstring value = name + L" (TrueType)";
    ASSERT_EQ(RegSetValueExW(key.get(), value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                             static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

class InstallationRecordTest : public testing::Test {
protected:
    void SetUp() override {
        package_ = temp_ / L"package\\";
        install_ = temp_ / L"Holter\\";
        request_ = TestRequest(install_, L"Velmora - Холтер (record test)");
        request_.installerVersion = L"1.0.0.0";
        CreateDirectoryW(install_.c_str(), nullptr);
        CreateDirectoryW((install_ + L"Settings").c_str(), nullptr);
        BuildPackage(package_, {});
    }

    ScopedCoInitialize com_;
    TempFolder temp_;
    std::wstring package_, install_;
    InstallRequest request_;
    RecordingView view_;
    SetupLogCapture log_;
};

TEST_F(InstallationRecordTest, CleanInstallationIsVerifiedWithoutDifferences) {
    RunRecorded(view_, request_, package_);

    const std::wstring& last = view_.lines.back();
    EXPECT_EQ(last.rfind(std::wstring(kCheckLine) + L"Завершено: файлов ", 0), 0u) << ToUtf8(last);
    EXPECT_NE(last.find(L", отличий нет"), std::wstring::npos) << ToUtf8(last);
    const std::vector<std::wstring> records = RecordsIn(install_ + L"Settings\\");
    ASSERT_EQ(records.size(), 1u);
    const std::string bytes = ReadFileBytes(records[0]);
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u) << "UTF-8 with its byte-order mark";
    EXPECT_EQ(FromUtf8(bytes).find(L"\n"), FromUtf8(bytes).find(L"\r\n") + 1) << "CR LF lines";
    EXPECT_NE(bytes.find(ToUtf8(L"Каталог установки: " + install_)), std::string::npos);
    const std::wstring text = FromUtf8(bytes);
    EXPECT_NE(text.find(L"\r\nПрава администратора: " + ExpectedElevation() + L"\r\n"), std::wstring::npos)
        << "the header says whether the run had the rights, in the record's language";
    for (const std::wstring& file : {std::wstring(L"DTAfb\\V12.FDB"), std::wstring(L"gbak.exe"),
                                     std::wstring(L"backup\\U010124\\Install.cmd"), std::wstring(L"Shell.exe"),
                                     std::wstring(L"Settings\\holter.ini"), std::wstring(L"ReleaseInfo")}) {
        const std::vector<std::wstring> fields = RecordLine(records[0], file);
        ASSERT_EQ(fields.size(), 5u) << ToUtf8(file);
        EXPECT_EQ(fields[2].size(), 64u) << ToUtf8(file);
        EXPECT_EQ(fields[2], fields[3]) << ToUtf8(file);
        EXPECT_EQ(fields[4], L"OK") << ToUtf8(file);
    }
    EXPECT_FALSE(log_.Has(L"Installed file differs from the distribution")) << log_.Dump();

    // The page to print beside it: the same header and rows, markup escaped.
    const std::wstring pagePath = records[0].substr(0, records[0].size() - 3) + L"html";
    EXPECT_TRUE(log_.Has(L"Installation record page: " + pagePath)) << log_.Dump();
    const std::wstring page = FromUtf8(ReadFileBytes(pagePath));
    EXPECT_EQ(page.rfind(L"<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find(L"<h1>Протокол установки комплекса &quot;Velmora-Холтер&quot;</h1>"), std::wstring::npos);
    const std::vector<std::wstring> gbak = RecordLine(records[0], L"gbak.exe");
    ASSERT_EQ(gbak.size(), 5u);
    EXPECT_NE(page.find(L"<tr><td>gbak.exe</td><td>OK</td><td>" + gbak[1] + L"</td><td class=\"hash\">" + gbak[2] +
                        L"</td><td class=\"hash\">" + gbak[3] + L"</td></tr>"),
              std::wstring::npos)
        << "the verdict right after the name";
    EXPECT_EQ(page.find(L"<tr class=\"bad\">"), std::wstring::npos) << "no row marked in a clean run";
}

// A font row says what became of the font: one taken out of the system
// before the run is installed and read back (the package file's size, both
// digests alike), one already in the system is left as it was, and one whose
// file lies there without its registry value (a run ended between copy and
// registration) is copied and registered again, recorded as copied.
TEST_F(InstallationRecordTest, FontRowsSayWhatBecameOfEachFont) {
    const FontTargets system = SystemFontTargets();
    const std::wstring installed = kPackageFonts[0], present = kPackageFonts[1], fileOnly = kPackageFonts[2];
    TakeFontOutOfTheSystem(system, installed);
    PutFontIntoTheSystem(system, package_ + L"fonts\\", present);
    TakeFontOutOfTheSystem(system, fileOnly);
    ASSERT_TRUE(CopyFileW((package_ + L"fonts\\" + fileOnly).c_str(),
                          (JoinPath(system.fontsFolder, fileOnly)).c_str(), FALSE));

    RunRecorded(view_, request_, package_);

    const std::vector<std::wstring> records = RecordsIn(install_ + L"Settings\\");
    ASSERT_EQ(records.size(), 1u);
    const std::vector<std::wstring> copied = RecordLine(records[0], JoinPath(system.fontsFolder, installed));
    ASSERT_EQ(copied.size(), 5u);
    EXPECT_EQ(copied[1], std::to_wstring(ReadFileBytes(package_ + L"fonts\\" + installed).size()));
    EXPECT_EQ(copied[2].size(), 64u);
    EXPECT_EQ(copied[2], copied[3]);
    EXPECT_EQ(copied[4], L"OK");
    EXPECT_EQ(RecordLine(records[0], JoinPath(system.fontsFolder, present)),
              (std::vector<std::wstring>{JoinPath(system.fontsFolder, present), L"-", L"-", L"-",
                                         L"оставлен: шрифт уже был в системе"}));
    const std::vector<std::wstring> again = RecordLine(records[0], JoinPath(system.fontsFolder, fileOnly));
    ASSERT_EQ(again.size(), 5u);
    EXPECT_EQ(again[2], again[3]);
    EXPECT_EQ(again[4], L"OK");
    EXPECT_TRUE(IsFontInstalled(system, fileOnly));
}

TEST_F(InstallationRecordTest, CopyDamagedBeforeTheReadBackIsReported) {
    RunRecorded(view_, request_, package_, CopyDamagingGbak);

    const std::wstring& last = view_.lines.back();
    EXPECT_EQ(last.rfind(std::wstring(kCheckLine) + L"ОШИБКА!!! Файлов ", 0), 0u) << ToUtf8(last);
    EXPECT_NE(last.find(L", отличаются: 1"), std::wstring::npos) << ToUtf8(last);
    EXPECT_EQ(view_.outcome, InstallOutcome::CompletedWithFailures) << "a difference is a failure";
    EXPECT_TRUE(log_.Has(L"Installed file differs from the distribution: " + install_ + L"gbak.exe: ОТЛИЧАЕТСЯ"))
        << log_.Dump();
    const std::vector<std::wstring> records = RecordsIn(install_ + L"Settings\\");
    ASSERT_EQ(records.size(), 1u);
    const std::vector<std::wstring> fields = RecordLine(records[0], L"gbak.exe");
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_NE(fields[2], fields[3]);
    EXPECT_EQ(fields[4], L"ОТЛИЧАЕТСЯ");
    EXPECT_EQ(RecordLine(records[0], L"fbclient.Dll").at(4), L"OK") << "only the damaged file differs";
    const std::wstring page = FromUtf8(ReadFileBytes(records[0].substr(0, records[0].size() - 3) + L"html"));
    EXPECT_NE(page.find(L"<tr class=\"bad\"><td>gbak.exe</td>"), std::wstring::npos) << "the damaged row marked";
}

// The read-back proves the copies before the update script runs: a sound
// update that changes the installed database is the update's doing, not a
// difference, and the run completes without one.
TEST_F(InstallationRecordTest, FilesTheUpdateScriptChangesAreRecordedAsItsOwn) {
    BuildPackage(package_, {});
    WriteFileBytes(package_ + L"backup\\U010124\\Install.cmd",
                   "@echo off\r\necho schema>> ..\\..\\DTAfb\\V12.FDB\r\necho log> ..\\U010124.log\r\n");
    RunRecorded(view_, request_, package_);

    const std::wstring& last = view_.lines.back();
    EXPECT_EQ(last.rfind(std::wstring(kCheckLine) + L"Завершено: файлов ", 0), 0u) << ToUtf8(last);
    EXPECT_TRUE(last.ends_with(L", отличий нет; изменено обновлением: 1")) << ToUtf8(last);
    EXPECT_EQ(view_.outcome, InstallOutcome::Completed) << "not completed with failures";
    const std::vector<std::wstring> records = RecordsIn(install_ + L"Settings\\");
    ASSERT_EQ(records.size(), 1u);
    const std::vector<std::wstring> database = RecordLine(records[0], L"DTAfb\\V12.FDB");
    ASSERT_EQ(database.size(), 5u);
    EXPECT_EQ(database[2], database[3]) << "the copy was the distribution's";
    EXPECT_EQ(database[4], L"изменён обновлением U010124");
    EXPECT_EQ(RecordLine(records[0], L"backup\\U010124.log").at(4), L"добавлен обновлением U010124");
    EXPECT_EQ(RecordLine(records[0], L"gbak.exe").at(4), L"OK");
    EXPECT_FALSE(log_.Has(L"Installed file differs from the distribution")) << log_.Dump();
    EXPECT_TRUE(log_.Has(L"Update script U010124: installed files changed or removed: 1, files added: 1"))
        << log_.Dump();
}

}  // namespace

namespace {

// Leaves a package and its installation with the record in the folder that
// VH_RECORD_CHECK names, for tests/record_hashes.sh to check the record's
// hashes with sha256sum from Linux; skipped without it.
TEST(InstallationRecordOnDisk, LeftForTheLinuxCheck) {
    wchar_t value[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VH_RECORD_CHECK", value, MAX_PATH))
        GTEST_SKIP() << "no folder for the Linux check (VH_RECORD_CHECK, tests/record_hashes.sh)";
    const std::wstring folder = WithTrailingBackslash(value);
    const std::wstring package = folder + L"package\\";
    const std::wstring install = folder + L"install\\";
    BuildPackage(package, {});
    CreateDirectoryW(install.c_str(), nullptr);
    CreateDirectoryW((install + L"Settings").c_str(), nullptr);
    ScopedCoInitialize com;
    RecordingView view;
    const InstallRequest request = TestRequest(install, L"Velmora - Холтер (record check)");
    RunRecorded(view, request, package);
    ASSERT_EQ(view.lines.back().rfind(std::wstring(kCheckLine) + L"Завершено", 0), 0u)
        << ToUtf8(view.lines.back());
}

}  // namespace
