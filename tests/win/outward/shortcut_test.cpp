// Shell shortcuts, saved for real and read back through IShellLinkW.
#include "engine/shortcut.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/error.h"
#include "base/handles.h"
#include "base/utf8.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kShellFolders[] = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kMapGroups[] = L"Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

// Gives one value under HKEY_CURRENT_USER a test setting for the scope and
// puts back what was there (or its absence, or the absence of its key).
class ScopedUserValue {
public:
    ScopedUserValue(const wchar_t* keyPath, const wchar_t* name) : keyPath_(keyPath), name_(name) {
        DWORD disposition = 0;
        RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.receive(),
                        &disposition);
        createdKey_ = disposition == REG_CREATED_NEW_KEY;
        DWORD size = 0;
        existed_ = RegQueryValueExW(key_.get(), name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
        data_.resize(size);
        if (existed_) RegQueryValueExW(key_.get(), name, nullptr, &type_, data_.data(), &size);
    }
    ~ScopedUserValue() {
        if (existed_)
            RegSetValueExW(key_.get(), name_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
        else
            RegDeleteValueW(key_.get(), name_.c_str());
        key_.reset();
        if (createdKey_) RegDeleteKeyW(HKEY_CURRENT_USER, keyPath_.c_str());
    }
    ScopedUserValue(const ScopedUserValue&) = delete;
    ScopedUserValue& operator=(const ScopedUserValue&) = delete;

    void SetString(const std::wstring& text) {
        RegSetValueExW(key_.get(), name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void SetNumber(DWORD number) {
        RegSetValueExW(key_.get(), name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof(number));
    }
    void Remove() { RegDeleteValueW(key_.get(), name_.c_str()); }

private:
    std::wstring keyPath_;
    std::wstring name_;
    ScopedRegKey key_;
    bool createdKey_ = false;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// A "Shell Folders" value as it stands.
std::wstring ShellFolder(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    DWORD size = sizeof(folder) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kShellFolders, name, RRF_RT_REG_SZ, nullptr, folder, &size) !=
        ERROR_SUCCESS)
        return L"";
    return folder;
}

struct LinkContent {
    std::wstring target, workingFolder, arguments, description;
};

LinkContent ReadLink(const std::wstring& path) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    LinkContent content;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
        FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ)))
        return content;
    wchar_t text[1024];
    if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) content.target = text;
    if (SUCCEEDED(link->GetWorkingDirectory(text, 1024))) content.workingFolder = text;
    if (SUCCEEDED(link->GetArguments(text, 1024))) content.arguments = text;
    if (SUCCEEDED(link->GetDescription(text, 1024))) content.description = text;
    return content;
}

class ShortcutTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com_.result()));
        ASSERT_TRUE(CreateDirectoryW(holter_.c_str(), nullptr));
        WriteFileBytes(target_, "MZ");
        ASSERT_TRUE(CreateDirectoryW(links_.c_str(), nullptr));
    }
    // Creates a shortcut to target_ with only the place, sub-folder and link name given.
    std::wstring Create(ShortcutPlace place, std::wstring_view subFolder, std::wstring_view linkName,
                        std::wstring linkFile = L"untouched") {
        CreateShortcut(target_, place, subFolder, L"", L"", L"", linkName, linkFile);
        return linkFile;
    }

    ScopedCoInitialize com_;
    TempFolder temp_;
    const std::wstring holter_ = temp_ / L"Holter\\";
    const std::wstring target_ = holter_ + L"Shell.exe";
    const std::wstring links_ = temp_ / L"Links";  // no trailing "\", as the registry holds folders
};

TEST_F(ShortcutTest, CarriesTargetWorkingFolderArgumentsAndDescription) {
    const std::wstring description = L"Комплекс суточного мониторирования электрокардиограмм \"Velmora - Холтер\"";
    std::wstring linkFile;
    CreateShortcut(target_, ShortcutPlace::GivenFolder, links_, L"", L"-demo \"a b\"", description,
                   L"Velmora - Холтер", linkFile);
    EXPECT_EQ(linkFile, links_ + L"\\Velmora - Холтер.lnk");
    const LinkContent link = ReadLink(linkFile);
    EXPECT_EQ(link.target, target_);
    EXPECT_EQ(link.workingFolder, holter_) << "the target's folder with its trailing backslash";
    EXPECT_EQ(link.arguments, L"-demo \"a b\"");
    EXPECT_EQ(link.description, description);

    CreateShortcut(target_, ShortcutPlace::GivenFolder, links_, temp_.path(), L"", L"again", L"Velmora - Холтер",
                   linkFile);
    EXPECT_EQ(ReadLink(linkFile).description, L"again") << "an existing shortcut is overwritten";
    EXPECT_EQ(ReadLink(linkFile).workingFolder, temp_.path());
}

TEST_F(ShortcutTest, NamesTheFileAfterTheLinkNameOrTheTarget) {
    const struct {
        const wchar_t* linkName;
        const wchar_t* fileName;
    } cases[] = {{L"Tool 2.5", L"Tool 2.lnk"}, {L"Tools\\Tool", L"Tool.lnk"}, {L"", L"Shell.lnk"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Create(ShortcutPlace::GivenFolder, links_, c.linkName), links_ + L"\\" + c.fileName);
        EXPECT_TRUE(PathExists(links_ + L"\\" + c.fileName)) << ToUtf8(c.fileName);
    }
}

// Wine's shell rewrites the "Shell Folders" values from time to time, so the
// lookup itself is exercised through the quick-launch value, which it leaves
// alone; the other places are checked against their values as they stand.
TEST_F(ShortcutTest, TakesThePlaceFolderFromTheUsersRegistry) {
    ScopedUserValue quickLaunch(kMapGroups, L"Quick Launch");
    quickLaunch.SetString(links_);
    EXPECT_EQ(Create(ShortcutPlace::QuickLaunch, L"", L"Tool"), links_ + L"\\Tool.lnk");
    EXPECT_EQ(ReadLink(links_ + L"\\Tool.lnk").target, target_);
    ASSERT_TRUE(DeleteFileW((links_ + L"\\Tool.lnk").c_str()));

    quickLaunch.Remove();
    EXPECT_EQ(Create(ShortcutPlace::QuickLaunch, L"", L"Tool"), L"untouched") << "no value, no shortcut";
    quickLaunch.SetNumber(1);
    try {
        Create(ShortcutPlace::QuickLaunch, L"", L"Tool");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.text(), L"Invalid data type for 'Quick Launch'");
    }
    EXPECT_FALSE(PathExists(links_ + L"\\Tool.lnk"));

    for (const auto& [place, value] :
         {std::pair{ShortcutPlace::Desktop, L"Desktop"}, std::pair{ShortcutPlace::SendTo, L"SendTo"},
          std::pair{ShortcutPlace::StartMenu, L"Start Menu"}}) {
        const std::wstring folder = ShellFolder(value);
        ASSERT_FALSE(folder.empty()) << ToUtf8(value);
        const std::wstring expected = folder + L"\\Velmora test shortcut.lnk";
        EXPECT_EQ(Create(place, L"", L"Velmora test shortcut"), expected);
        EXPECT_EQ(ReadLink(expected).target, target_) << ToUtf8(value);
        EXPECT_TRUE(DeleteFileW(expected.c_str())) << ToUtf8(value);
    }
}

TEST_F(ShortcutTest, PutsItIntoAnExistingSubFolderOnly) {
    const std::wstring desktop = ShellFolder(L"Desktop");
    ASSERT_FALSE(desktop.empty());
    const std::wstring sub = desktop + L"\\Velmora test folder";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_EQ(Create(ShortcutPlace::Desktop, L"Velmora test folder", L"Tool"), sub + L"\\Tool.lnk");
    EXPECT_EQ(ReadLink(sub + L"\\Tool.lnk").target, target_);
    RemoveTree(sub);

    EXPECT_EQ(Create(ShortcutPlace::Desktop, L"Velmora test folder", L"Tool"), sub + L"\\Tool.lnk")
        << "the path is returned although nothing could be saved";
    EXPECT_FALSE(PathExists(sub));

    ASSERT_TRUE(CreateDirectoryW((links_ + L"\\Sub").c_str(), nullptr));
    EXPECT_EQ(Create(ShortcutPlace::GivenFolder, links_ + L"\\Sub", L"Given"), links_ + L"\\Sub\\Given.lnk")
        << "the given folder is not appended twice";
    EXPECT_TRUE(PathExists(links_ + L"\\Sub\\Given.lnk"));
}

TEST_F(ShortcutTest, FallsBackToTheDesktopKnownFolderWithoutTheRegistryValue) {
    ScopedUserValue desktop(kShellFolders, L"Desktop");
    desktop.Remove();
    PWSTR known = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &known)));
    const std::wstring expected = std::wstring(known) + L"\\Velmora test shortcut.lnk";
    CoTaskMemFree(known);

    EXPECT_EQ(Create(ShortcutPlace::Desktop, L"", L"Velmora test shortcut"), expected);
    EXPECT_EQ(ReadLink(expected).target, target_);
    EXPECT_TRUE(DeleteFileW(expected.c_str()));
}

TEST_F(ShortcutTest, APlaceWithoutAFolderWritesNothing) {
    EXPECT_EQ(Create(static_cast<ShortcutPlace>(5), L"", L"Tool"), L"untouched");
    EXPECT_EQ(Create(static_cast<ShortcutPlace>(255), links_, L"Tool"), L"untouched");
    EXPECT_EQ(Create(ShortcutPlace::GivenFolder, L"", L"Tool"), L"untouched");
    EXPECT_FALSE(PathExists(links_ + L"\\Tool.lnk"));
}

// The installation counts a shortcut that is not there: the save's failure
// and a place without a folder come back as failures.
TEST_F(ShortcutTest, ASaveThatFailsOrNoFolderIsAFailureWithItsCode) {
    const std::wstring taken = links_ + L"\\Taken.lnk";
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
    std::wstring linkFile;
    const Result<> saved =
        CreateShortcut(target_, ShortcutPlace::GivenFolder, links_, L"", L"", L"", L"Taken", linkFile);
    EXPECT_FALSE(saved);
    EXPECT_NE(saved.code(), 0u);
    EXPECT_EQ(saved.action(), L"Shortcut not saved: " + taken);
    EXPECT_EQ(linkFile, taken);

    const Result<> nowhere =
        CreateShortcut(target_, ShortcutPlace::GivenFolder, L"", L"", L"", L"", L"Tool", linkFile);
    EXPECT_EQ(nowhere.code(), static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(CreateShortcut(target_, ShortcutPlace::GivenFolder, links_, L"", L"", L"", L"Tool", linkFile));
}

TEST_F(ShortcutTest, NamesTheClassWhenTheShellLinkCannotBeCreated) {
    std::wstring error;
    // A thread that never initialised COM.
    std::thread([&] {
        std::wstring linkFile;
        try {
            CreateShortcut(target_, ShortcutPlace::GivenFolder, links_, L"", L"", L"", L"", linkFile);
        } catch (const Error& e) {
            error = e.text();
        }
    }).join();
    const std::wstring suffix = L", ClassID: {00021401-0000-0000-C000-000000000046}";
    ASSERT_GT(error.size(), suffix.size()) << ToUtf8(error);
    EXPECT_EQ(error.substr(error.size() - suffix.size()), suffix);
    EXPECT_FALSE(PathExists(links_ + L"\\Shell.lnk"));
}

}  // namespace
