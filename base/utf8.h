// UTF-8 <-> UTF-16 conversion that does not depend on the platform, so the
// same code runs in the Windows program and in the native test build.
#pragma once

#include <string>
#include <string_view>

// Converts UTF-16 (wchar_t is 16 bits on Windows, 32 on Linux; both hold
// UTF-16/UTF-32 code units respectively) to UTF-8. Unpaired surrogates
// become U+FFFD. Never fails.
std::string ToUtf8(std::wstring_view text);

// Converts UTF-8 to wide text. Invalid sequences become U+FFFD. Never fails.
std::wstring FromUtf8(std::string_view text);

// Appends code point cp to out: as a UTF-16 surrogate pair where wchar_t has
// 16 bits and cp is above U+FFFF, as one unit otherwise.
void AppendCodePoint(std::wstring& out, char32_t cp);
