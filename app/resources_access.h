// Reading the program's own resources: string-table entries, raw data and
// the window pictures.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/bitmap.h"

// String-table entry id of module instance, at most 254 characters (longer
// entries are cut). A missing entry gives an empty text.
std::wstring LoadResString(HINSTANCE instance, int id);

// The bytes of RT_RCDATA resource name of module. Raises Error naming the
// resource when it is missing.
std::string_view RawResource(HINSTANCE module, const wchar_t* name);

// Decodes the PNG stored as RT_RCDATA name in the module ResInstance and
// assigns it to bitmap: the picture's size, alpha blended over white, every
// pixel opaque. Raises Error for a missing or undecodable picture; bitmap is
// then unchanged.
void LoadPngResource(Bitmap& bitmap, const wchar_t* name);
