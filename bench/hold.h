// Keeping a measured process alive until the outside has read it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// Prints "holding" and waits until releaseFile exists, at most a minute.
inline void HoldUntil(const std::wstring& releaseFile) {
    std::printf("holding\n");
    std::fflush(stdout);
    for (int waited = 0; waited < 60000 && GetFileAttributesW(releaseFile.c_str()) == INVALID_FILE_ATTRIBUTES;
         waited += 10)
        Sleep(10);
}
