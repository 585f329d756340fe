// Shell shortcuts (".lnk" files) to the package's programs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"

// Where a shortcut goes. Values beyond GivenFolder name no folder.
enum class ShortcutPlace : uint8_t { Desktop, QuickLaunch, SendTo, StartMenu, GivenFolder };

// Saves a shortcut that starts target with arguments and the comment
// description, in the working folder workingFolder (when empty: target's
// folder with its trailing "\", as the package's shortcuts have always had
// it). The file name is linkName (when empty: target) with ".lnk" as its
// extension, reduced to its last component. The folder is the place's folder
// from the user's "Shell Folders" (Desktop, SendTo, StartMenu) or
// "GrpConv\MapGroups" (QuickLaunch) registry values, the user's desktop known
// folder when the "Desktop" value is missing, or subFolder itself for
// GivenFolder; for the other places a given subFolder is appended. Folders
// are not created. The full path goes to linkFile, also when saving fails
// (missing folder, no rights, a folder of that name): then the result carries
// the save's code. When the place yields no folder nothing is saved, linkFile
// is left as it was and the result is a failure with ERROR_PATH_NOT_FOUND.
// Needs COM on the calling thread. Raises Error "<system text>, ClassID:
// {...}" when the shell-link object cannot be created, "Interface not
// supported" when it lacks IShellLinkW or IPersistFile, and "Invalid data
// type for '<value>'" when the registry value is not a string.
Result<> CreateShortcut(std::wstring_view target, ShortcutPlace place, std::wstring_view subFolder,
                        std::wstring_view workingFolder, std::wstring_view arguments,
                        std::wstring_view description, std::wstring_view linkName, std::wstring& linkFile);

// The desktop every user of the PC sees (the public desktop); empty when the
// shell names none.
std::wstring AllUsersDesktopFolder();
