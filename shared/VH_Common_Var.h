// Shared state of the package's programs.
#pragma once

#include <windows.h>

// The module whose resources hold the program's pictures; nullptr means the
// program's own executable.
extern HINSTANCE ResInstance;
