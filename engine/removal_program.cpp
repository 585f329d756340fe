#include "engine/removal_program.h"

#include "base/file_system.h"
#include "base/handles.h"
#include "base/strings.h"

namespace {

struct ExplicitAccess {
    WELL_KNOWN_SID_TYPE who;
    DWORD rights;
};

constexpr ExplicitAccess kRemovalFolderAccess[] = {
    {WinBuiltinAdministratorsSid, GENERIC_ALL},
    {WinLocalSystemSid, GENERIC_ALL},
    {WinBuiltinUsersSid, GENERIC_READ | GENERIC_EXECUTE},
};

Result<> ProtectFolder(const std::wstring& folder) {
    const std::wstring action = L"Cannot set the access list of " + folder;
    BYTE sids[std::size(kRemovalFolderAccess)][SECURITY_MAX_SID_SIZE];
    EXPLICIT_ACCESSW entries[std::size(kRemovalFolderAccess)] = {};
    for (size_t i = 0; i < std::size(kRemovalFolderAccess); ++i) {
        DWORD size = SECURITY_MAX_SID_SIZE;
        if (!CreateWellKnownSid(kRemovalFolderAccess[i].who, nullptr, sids[i], &size))
            return Result<>::Failure(action, GetLastError());
        entries[i].grfAccessPermissions = kRemovalFolderAccess[i].rights;
        entries[i].grfAccessMode = SET_ACCESS;
        entries[i].grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
        entries[i].Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entries[i].Trustee.ptstrName = reinterpret_cast<LPWSTR>(sids[i]);
    }
    PACL acl = nullptr;
    if (const DWORD status = SetEntriesInAclW(std::size(entries), entries, nullptr, &acl); status != ERROR_SUCCESS)
        return Result<>::Failure(action, status);
    const ScopedLocalMemory owner(acl);
    const DWORD status = SetSecurityHook(const_cast<LPWSTR>(folder.c_str()), SE_FILE_OBJECT,
                                         DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                         nullptr, acl, nullptr);
    if (status != ERROR_SUCCESS) return Result<>::Failure(action, status);
    return {};
}

}  // namespace

SetSecurityFunction SetSecurityHook = SetNamedSecurityInfoW;

std::wstring RemovalProgramPath(std::wstring_view installFolder) {
    return JoinPath(installFolder, kRemovalFolder, kRemovalProgram);
}

Result<> KeepRemovalProgram(const std::wstring& program, const std::wstring& kept, bool protect) {
    if (SameFileName(program, kept)) return {};
    const std::wstring folder = FolderOf(kept);
    if (!DirectoryExists(folder) && !CreateDirectoryW(folder.c_str(), nullptr))
        return Result<>::Failure(L"Cannot create folder " + WithTrailingBackslash(folder), GetLastError());
    if (protect)
        if (Result<> result = ProtectFolder(folder); !result) return result;
    if (!CopyFileW(program.c_str(), kept.c_str(), FALSE))
        return Result<>::Failure(L"Cannot copy " + program + L" to " + kept, GetLastError());
    return {};
}
