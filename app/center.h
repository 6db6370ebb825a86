// Centres a window on a reference rectangle and pulls it back inside a
// bounding area. The arithmetic is apart from the window queries so that it can
// be checked on its own.
#pragma once

#include <windows.h>

// The top-left corner that puts a window of the given size centred on the
// centre rectangle, clamped to the area (left and top win when it is too big).
POINT CenteredPosition(LONG width, LONG height, const RECT& centre, const RECT& area);

// Moves the window; with no reference, a child is centred on its parent and a
// top-level window on its owner, or on the work area when it has none.
BOOL CenterDialog(HWND window, HWND reference = nullptr);
