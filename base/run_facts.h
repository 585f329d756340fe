// Facts about the running process and its system that the setup log and
// the installation record state.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The version Windows itself reports ("10.0 build 19045"), not the one its
// compatibility shims give; "unknown" when it cannot be read.
std::wstring WindowsVersion();

// "yes" or "no": whether the process runs elevated; "unknown" when the
// token cannot be read.
std::wstring Elevation();

// The name of the user the process runs as; empty when it cannot be read.
std::wstring UserName();

// The TOKEN_USER of this process's token (the account it runs as); empty
// when the token cannot be read.
std::vector<unsigned char> ProcessTokenUser();

// Whether sid is the system account's (LocalSystem, S-1-5-18), the account
// deployment tools install with. False for null.
bool IsLocalSystemSid(PSID sid);

// Whether the process runs as the system account; false when its token
// cannot be read.
bool RunsAsLocalSystem();
