// The system account is told by its SID. Wine runs every process as the
// signed-in user, so the system account's own run is tested on Windows
// only (the unattended end-to-end test skips it under Wine).
#include "base/run_facts.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/handles.h"

namespace {

std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = SECURITY_MAX_SID_SIZE;
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) ADD_FAILURE() << "CreateWellKnownSid " << type;
    return sid;
}

std::vector<BYTE> OwnUserSid() {
    ScopedHandle token;
    DWORD size = 0;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()));
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    EXPECT_TRUE(GetTokenInformation(token.get(), TokenUser, user.data(), size, &size));
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    const auto* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

// Only LocalSystem: the other service accounts and the administrators'
// group have desktops of their own or none.
TEST(RunFacts, OnlyTheSystemAccountsSidIsTheSystemAccount) {
    const struct {
        const char* name;
        std::vector<BYTE> sid;
        bool system;
    } cases[] = {
        {"LocalSystem", WellKnownSid(WinLocalSystemSid), true},
        {"LocalService", WellKnownSid(WinLocalServiceSid), false},
        {"NetworkService", WellKnownSid(WinNetworkServiceSid), false},
        {"Administrators", WellKnownSid(WinBuiltinAdministratorsSid), false},
        {"this test's user", OwnUserSid(), RunsAsLocalSystem()},
    };
    for (const auto& c : cases) EXPECT_EQ(IsLocalSystemSid(const_cast<BYTE*>(c.sid.data())), c.system) << c.name;
    EXPECT_FALSE(IsLocalSystemSid(nullptr));
}

}  // namespace
