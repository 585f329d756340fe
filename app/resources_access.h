// Reading the program's own resources: string-table entries, raw data and
// the window pictures.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/bitmap.h"
#include "base/resource_data.h"
#include "engine/install_request.h"

// String-table entry id of module instance, at most 254 characters (longer
// entries are cut). A missing entry gives an empty text.
std::wstring LoadResString(HINSTANCE instance, int id);

// The desktop shortcut's names from the string table of module instance:
// the main program, the description followed by the quoted product name,
// and the product name.
ShortcutNames DesktopShortcutNames(HINSTANCE instance);

// Decodes the PNG stored as RT_RCDATA name in the module ResInstance and
// assigns it to bitmap: the picture's size, alpha blended over white, every
// pixel opaque. Raises Error for a missing or undecodable picture; bitmap is
// then unchanged.
void LoadPngResource(Bitmap& bitmap, const wchar_t* name);
