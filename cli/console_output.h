// Text to a standard handle so that every character arrives whole: a console
// gets UTF-16 as it is (whatever its code page), a file or a pipe UTF-8
// without a byte order mark, or UTF-16LE after one for tools that expect it.
#pragma once

#include <windows.h>

#include <string>

enum class Encoding { utf8, utf16 };

// `which` is STD_OUTPUT_HANDLE or STD_ERROR_HANDLE. False when the text could
// not all be written (a pipe closed by its reader, a full disk).
bool WriteText(DWORD which, const std::wstring& text, Encoding encoding);

// The bytes a file or a pipe gets. A lone half of a surrogate pair becomes
// U+FFFD in UTF-8, which cannot hold it.
std::string EncodedBytes(const std::wstring& text, Encoding encoding);
