#include "base/run_facts.h"

#include <windows.h>

#include "base/handles.h"

// RtlGetVersion is not subject to the compatibility shims that make
// GetVersionExW report older versions.
std::wstring WindowsVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!getVersion || getVersion(&info) != 0) return L"unknown";
    std::wstring text = std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion) +
                        L" build " + std::to_wstring(info.dwBuildNumber);
    if (info.szCSDVersion[0]) text += L" " + std::wstring(info.szCSDVersion);
    return text;
}

std::wstring Elevation() {
    ScopedHandle token;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()) ||
        !GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size))
        return L"unknown";
    return elevation.TokenIsElevated ? L"yes" : L"no";
}

std::wstring UserName() {
    wchar_t name[257];
    DWORD size = 257;
    return GetUserNameW(name, &size) ? std::wstring(name) : std::wstring();
}

bool IsLocalSystemSid(PSID sid) {
    return sid && IsValidSid(sid) && IsWellKnownSid(sid, WinLocalSystemSid);
}

std::vector<unsigned char> ProcessTokenUser() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return {};
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) return {};
    return user;
}

bool RunsAsLocalSystem() {
    const std::vector<unsigned char> user = ProcessTokenUser();
    return !user.empty() && IsLocalSystemSid(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid);
}
