// The guard that keeps a second installation from running cannot be used
// by any user to stop every installation of the PC.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include "app/single_instance.h"
#include "base/handles.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/installer_package.h"

namespace {

using SingleInstanceTest = InstallerPackageTest;

// A mutex of the guard's name made first by a process as another user
// would make it (owned by the Users group, open to everyone): the wizard
// still starts and shows its first page.
TEST_F(SingleInstanceTest, AMutexMadeByAnotherUserDoesNotStopTheInstaller) {
    Build();
    BYTE users[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(users);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size));
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorOwner(&descriptor, users, FALSE));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), &descriptor, FALSE};
    const ScopedHandle squatter(CreateMutexW(&attributes, TRUE, kSingleInstanceMutexName));
    ASSERT_TRUE(squatter) << GetLastError();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR read = nullptr;
    ASSERT_EQ(GetSecurityInfo(squatter.get(), SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                              nullptr, nullptr, &read),
              static_cast<DWORD>(ERROR_SUCCESS));
    const bool ownedByUsers = IsWellKnownSid(owner, WinBuiltinUsersSid);
    LocalFree(read);
    if (!ownedByUsers) GTEST_SKIP() << "this system gave the mutex the test's own user as its owner";
    ASSERT_FALSE(IsOwnedByAnInstallation(squatter.get()));

    Wizard w(exe());
    EXPECT_NE(w.FindControl(L"Button", L"Далее"), nullptr) << "the welcome page shows";
}

}  // namespace
