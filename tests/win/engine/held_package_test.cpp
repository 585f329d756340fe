// The update package checked against the distribution's before its script
// runs: every file at every depth, nothing missing, nothing extra, and
// everything held against change until the check's owner ends.
#include "engine/held_package.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "base/handles.h"
#include "base/utf8.h"
#include "tests/kit/file_util.h"
#include "tests/kit/tagged_entries.h"
#include "tests/kit/temp_folder.h"

namespace {

// A distribution's package and its copy in the install folder, both with a
// script and a file one folder down.
class HeldPackageTest : public testing::Test {
protected:
    void SetUp() override {
        for (const std::wstring& root : {shipped_, installed_}) {
            for (size_t slash = temp_.path().size(); (slash = root.find(L'\\', slash + 1)) != std::wstring::npos;)
                CreateDirectoryW(root.substr(0, slash).c_str(), nullptr);
            CreateDirectoryW(root.c_str(), nullptr);
            CreateDirectoryW((root + L"\\sql").c_str(), nullptr);
            WriteFileBytes(root + L"\\Install.cmd", "@echo off\r\ncall sql\\update.cmd\r\n");
            WriteFileBytes(root + L"\\sql\\update.cmd", "echo update\r\n");
        }
    }

    TempFolder temp_;
    const std::wstring shipped_ = temp_ / L"package\\backup\\U010124";
    const std::wstring installed_ = temp_ / L"Holter\\backup\\U010124";
};

TEST_F(HeldPackageTest, OnlyTheDistributionsPackageFileForFileIsItsOwn) {
    struct Case {
        const char* what;
        std::function<void(const std::wstring& installed, const std::wstring& shipped)> change;
        PackageVerdict verdict;
        std::wstring reason;
    };
    const Case cases[] = {
        {"the same files", [](auto&, auto&) {}, PackageVerdict::Distribution, L""},
        {"an extra command file beside the script",
         [](auto& installed, auto&) { WriteFileBytes(installed + L"\\xcopy.bat", "echo planted\r\n"); },
         PackageVerdict::Foreign,
         L"not the distribution's file: " + temp_ / L"Holter\\backup\\U010124\\xcopy.bat"},
        {"a file changed one folder down",
         [](auto& installed, auto&) { WriteFileBytes(installed + L"\\sql\\update.cmd", "echo planted\r\n"); },
         PackageVerdict::Foreign,
         L"not the distribution's file: " + temp_ / L"Holter\\backup\\U010124\\sql\\update.cmd"},
        {"an extra file in a hidden folder",
         [](auto& installed, auto&) {
             CreateDirectoryW((installed + L"\\hid").c_str(), nullptr);
             SetFileAttributesW((installed + L"\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
             WriteFileBytes(installed + L"\\hid\\a.cmd", "echo planted\r\n");
         },
         PackageVerdict::Foreign,
         L"not the distribution's file: " + temp_ / L"Holter\\backup\\U010124\\hid\\a.cmd"},
        {"a file of the distribution's package missing",
         [](auto& installed, auto&) { DeleteFileW((installed + L"\\sql\\update.cmd").c_str()); },
         PackageVerdict::Foreign,
         L"the folder holds 1 files, the distribution's package 2: " + temp_ / L"Holter\\backup\\U010124"},
        {"no such package in the distribution", [](auto&, auto& shipped) { RemoveTree(shipped); },
         PackageVerdict::Foreign, L"the distribution has no such package: " + temp_ / L"package\\backup\\U010124"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(temp_ / L"package");
        RemoveTree(temp_ / L"Holter");
        SetUp();
        c.change(installed_, shipped_);
        const HeldPackage held(installed_, shipped_);
        EXPECT_EQ(held.verdict(), c.verdict);
        EXPECT_EQ(held.reason(), c.reason) << ToUtf8(held.reason());
    }
}

TEST_F(HeldPackageTest, WhatCannotBeCheckedIsNeverItsOwn) {
    {
        // A user who planted the script keeps it open with every access and
        // every sharing: it could change after any check.
        const ScopedHandle writer(CreateFileW(
            (installed_ + L"\\Install.cmd").c_str(), GENERIC_READ | GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        const HeldPackage held(installed_, shipped_);
        EXPECT_EQ(held.verdict(), PackageVerdict::Unverified);
        EXPECT_EQ(held.reason().rfind(L"a file cannot be held: " + installed_ + L"\\Install.cmd: ", 0), 0u)
            << ToUtf8(held.reason());
    }
    {
        const TaggedEntries linked({{installed_ + L"\\sql", IO_REPARSE_TAG_MOUNT_POINT}});
        const HeldPackage held(installed_, shipped_);
        EXPECT_EQ(held.verdict(), PackageVerdict::Unverified);
        EXPECT_EQ(held.reason(), L"a junction or symbolic link: " + installed_ + L"\\sql");
    }
}

// Held means held: while the check's owner lives nobody writes, deletes or
// renames a file of the package.
TEST_F(HeldPackageTest, EveryFileIsHeldAgainstChangeWhileTheOwnerLives) {
    std::optional<HeldPackage> held(std::in_place, installed_, shipped_);
    ASSERT_EQ(held->verdict(), PackageVerdict::Distribution);
    EXPECT_EQ(held->files(), 2u);
    const std::wstring deep = installed_ + L"\\sql\\update.cmd";
    EXPECT_FALSE(ScopedHandle(CreateFileW(deep.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr)));
    EXPECT_FALSE(DeleteFileW(deep.c_str()));
    EXPECT_FALSE(MoveFileW((installed_ + L"\\Install.cmd").c_str(), (installed_ + L"\\old.cmd").c_str()));
    held.reset();
    EXPECT_TRUE(ScopedHandle(CreateFileW(deep.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
}

}  // namespace
