#include "app/run_log.h"

#include <cstring>

#include "base/file_system.h"
#include "base/handles.h"
#include "base/run_facts.h"
#include "base/setup_log.h"
#include "base/strings.h"

namespace run_log {
namespace {

Outcome outcome = Outcome::Closed;

const wchar_t* OutcomeText(Outcome value) {
    switch (value) {
        case Outcome::Cancelled:
            return L"cancelled";
        case Outcome::Completed:
            return L"completed";
        case Outcome::Error:
            return L"error";
        case Outcome::NotStarted:
            return L"not started";
        case Outcome::Closed:
            break;
    }
    return L"closed";
}

}  // namespace

std::wstring ProgramVersion(HINSTANCE module) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = found ? SizeofResource(module, found) : 0;
    // The fixed part follows the key "VS_VERSION_INFO" on a 32-bit
    // boundary; its signature marks it.
    for (DWORD at = 0; bytes && at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, bytes + at, sizeof(fixed));
        if (fixed.dwSignature != VS_FFI_SIGNATURE) continue;
        return std::to_wstring(HIWORD(fixed.dwFileVersionMS)) + L"." +
               std::to_wstring(LOWORD(fixed.dwFileVersionMS)) + L"." +
               std::to_wstring(HIWORD(fixed.dwFileVersionLS)) + L"." +
               std::to_wstring(LOWORD(fixed.dwFileVersionLS));
    }
    return L"";
}

void WriteHeader(HINSTANCE module, std::wstring_view installerFolder) {
    const std::wstring version = ProgramVersion(module);
    setup_log::Write(L"Velmora-Холтер setup " +
                     (version.empty() ? std::wstring(L"(no version resource)") : version) + L", " + ModulePath());
    setup_log::Write(L"Windows " + WindowsVersion() + L"; elevated: " + Elevation());
    setup_log::Write(L"Installer folder: " + WithTrailingBackslash(installerFolder));
}

void Note(Outcome value) {
    outcome = value;
}

void WriteEnd(int exitCode) {
    setup_log::Write(std::wstring(L"Run ended: ") + OutcomeText(outcome) + L" (exit code " +
                     std::to_wstring(exitCode) + L")");
}

}  // namespace run_log
