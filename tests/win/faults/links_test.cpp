// Junctions and symbolic links inside a package or an install folder: the
// tree copy and the package listing never enter them nor write through
// them, and the setup log names each one. The folders come from
// tests/faults/links.sh (VH_LINKS); without them the cases skip.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/file_ops.h"
#include "engine/preflight.h"
#include "tests/kit/file_util.h"
#include "tests/kit/setup_log_capture.h"
#include "tests/kit/tree_outcomes.h"
#include "tests/win/faults/fault_fixture.h"

namespace faults {
namespace {

// The laid-out folder with its trailing "\", or "" when there is none.
std::wstring LinksFolder() {
    wchar_t value[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VH_LINKS", value, MAX_PATH)) return L"";
    std::wstring folder = value;
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    return WithTrailingBackslash(folder);
}

class Links : public testing::Test {
protected:
    void SetUp() override {
        if (links_.empty()) GTEST_SKIP() << "no link folders laid out (VH_LINKS, tests/faults/links.sh)";
        ASSERT_EQ(GetFileAttributesW((links_ + L"src\\linked").c_str()),
                  static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            << "the platform shows the folder link as a reparse point";
    }
    const std::wstring links_ = LinksFolder();
    const SetupLogCapture log_;
};

TEST_F(Links, TreeCopyNeitherEntersNorWritesThroughALink) {
    HeardOutcomes heard(links_ + L"src", links_ + L"dst");
    const TreeCopy copy = CopyFolderTree(links_ + L"src", links_ + L"dst", heard.Sink());
    EXPECT_EQ(heard.heard(), (std::map<std::string, std::string>{{"plain.txt", "copied"},
                                                                 {"linked", "passed over"},
                                                                 {"inner", "passed over"},
                                                                 {"other", "passed over"}}))
        << "each link once, as a whole: the package's and the two in the install folder's way";
    EXPECT_EQ(copy.notCopied, 2) << "inner\\x.txt and other\\y.txt had no way in";
    EXPECT_EQ(copy.linksPassedOver, 3) << "the package's link and the install folder's two";
    EXPECT_EQ(ReadFileBytes(links_ + L"dst\\plain.txt"), "plain\n");
    EXPECT_FALSE(PathExists(links_ + L"dst\\linked")) << "the package's link is not copied";
    EXPECT_EQ(FilesMatching(links_ + L"outside written\\", L"*.*"), (std::vector<std::wstring>{L".", L".."}))
        << "nothing written through the install folder's link";
    EXPECT_TRUE(log_.Has(L"Not followed (junction or symbolic link): " + links_ + L"src\\linked")) << log_.Dump();
    EXPECT_TRUE(log_.Has(L"Not followed (junction or symbolic link): " + links_ + L"dst\\inner"));
    EXPECT_TRUE(log_.Has(L"Not followed (junction or symbolic link): " + links_ + L"dst\\other"))
        << "a link whose name differs only in case is still the same name";
}

TEST_F(Links, PackageListingPassesLinksOver) {
    std::vector<std::wstring> list;
    ListSubfolders(links_ + L"list\\", list);
    EXPECT_EQ(list, std::vector<std::wstring>{links_ + L"list\\A"});
    EXPECT_TRUE(log_.Has(L"Not followed (junction or symbolic link): " + links_ + L"list\\L")) << log_.Dump();
}

bool RightsGranted() {
    return true;
}

// An install folder, or one of its folders, that leads elsewhere: refused
// with a box naming it before anything is written, through it or beside it.
TEST_F(Links, ALinkedDestinationIsRefusedBeforeAnythingIsWritten) {
    TempFolder package;
    BuildPackage(package.path());
    struct Case {
        std::wstring installFolder, link;
    } const cases[] = {
        {links_ + L"install\\Holter\\", links_ + L"install\\Holter\\DTAfb"},
        {links_ + L"install\\Linked\\", links_ + L"install\\Linked"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.installFolder));
        RecordingView view;
        const InstallRequest request = TestRequest(c.installFolder, L"Velmora - Холтер (links test)");
        EXPECT_EQ(CheckBeforeInstallation(view, request, package.path(), RightsGranted),
                  PreflightVerdict::LinkedDestination);
        EXPECT_EQ(view.events,
                  std::vector<std::wstring>{
                      L"error box: Каталог " + c.link +
                      L" является ссылкой на другой каталог (соединением или символической ссылкой)!\r\n"
                      L"Программа установки не записывает файлы через ссылки. Удалите ссылку или выберите другой "
                      L"каталог для установки."});
        EXPECT_TRUE(log_.Has(L"Installation not started: " + c.link + L" is a junction or symbolic link"))
            << log_.Dump();
    }
    EXPECT_EQ(FilesMatching(links_ + L"outside written\\", L"*.*"), (std::vector<std::wstring>{L".", L".."}));
    EXPECT_EQ(FilesMatching(links_ + L"install\\Holter\\Settings\\", L"*.*"),
              (std::vector<std::wstring>{L".", L".."}));
}

}  // namespace
}  // namespace faults
