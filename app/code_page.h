// Text between UTF-16 and the byte code pages of the system.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The conversions size their output by asking the converter first, so a
// multi-byte code page such as UTF-8 never overflows a guessed buffer. No
// default character is given: the system's own replacement applies (in UTF-8
// a lone half of a surrogate pair becomes U+FFFD and the rest is kept).
// Failure gives empty text.
std::wstring AnsiToWide(const std::string& ansi, UINT codePage);
std::string WideToAnsi(const wchar_t* wide, size_t length, UINT codePage);
// The same, with "?" for each UTF-16 unit the code page cannot hold, never a
// look-alike ("O" for an omega). Not for UTF-8, which holds every character.
std::string WideToAnsiWithoutLookAlikes(const wchar_t* wide, size_t length, UINT codePage);
