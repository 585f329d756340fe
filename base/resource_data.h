// Raw data resources of a module.
#pragma once

#include <windows.h>

#include <string_view>

// The bytes of RT_RCDATA resource name of module (nullptr: the program's own
// executable); valid while the module is loaded. Raises Error naming the
// resource when it is missing.
std::string_view RawResource(HINSTANCE module, const wchar_t* name);
