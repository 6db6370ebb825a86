// Where the finder's outline goes on the screen: from what the system says
// about the window under the cursor to the band that marks it, in the screen
// coordinates of the thread that draws it. Apart from the window queries so
// that what only other machines show (invisible resize borders, display
// scaling, monitors left of or above the primary) can be checked here.
#pragma once

#include <windows.h>

// What the drawing thread learnt about a window, in its own screen
// coordinates unless said otherwise.
struct WindowGeometry {
    RECT window = {};      // the window rectangle: on Windows 10 and 11 a
                           // top-level window's includes invisible resize borders
    RECT client = {};      // the client area
    bool framed = false;   // the desktop window manager gave its visible bounds
    RECT visible = {};     // those bounds, always in physical pixels
    UINT dpi = 96;         // DPI of the drawing coordinates on the window's monitor
};

struct Outline {
    RECT frame = {};  // outer edge of the band
    LONG width = 0;   // band width, inside the frame
};

// The outline of a window: along the visible bounds when they can be trusted
// in the drawing coordinates, otherwise along the window rectangle; three
// pixels wide at 96 DPI, in proportion above.
Outline OutlineFor(const WindowGeometry& window);

// The band as rectangles that do not overlap: top and bottom the whole width,
// left and right between them; a band wider than half the frame fills it.
// Returns how many of the four are not empty; those come first.
int OutlineStrips(const Outline& outline, RECT (&strips)[4]);

bool operator==(const Outline& a, const Outline& b);
inline bool operator!=(const Outline& a, const Outline& b) { return !(a == b); }
