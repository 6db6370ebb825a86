// The picked window's text as the dialog shows it.
#pragma once

#include <windows.h>

#include <string>

// As many UTF-16 units as the Window Text box has always shown.
constexpr size_t kShownWindowTextUnits = 511;

// The window's first kShownWindowTextUnits UTF-16 units, one fewer where the
// cut would split a character in two. Empty when the text cannot be read.
std::wstring ShownWindowText(HWND window);
