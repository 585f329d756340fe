// File helpers for tests: write and read whole files as bytes or UTF-8.
#pragma once

#include <string>
#include <string_view>

void WriteFileBytes(const std::wstring& path, std::string_view bytes);
std::string ReadFileBytes(const std::wstring& path);
bool PathExists(const std::wstring& path);
