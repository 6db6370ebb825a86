// What the desktop window manager knows: the frame it draws around a
// top-level window, and when it has shown what was drawn. Asked of dwmapi.dll
// at run time (ui/system_library.h); without it the answers are those of a
// system that composes nothing.
#pragma once

#include <windows.h>

// The part of a top-level window the user sees, inside the invisible resize
// borders that Windows 10 and 11 add (DWMWA_EXTENDED_FRAME_BOUNDS); false
// where the system does not tell.
bool VisibleFrameBounds(HWND window, RECT& bounds);

// Waits until the desktop window manager has shown the latest drawing
// (DwmFlush); returns at once where nothing composes.
void WaitForComposition();
