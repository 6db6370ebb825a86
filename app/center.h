// Centres a window on a reference rectangle and pulls it back inside a
// bounding area. The arithmetic is apart from the window queries so that it can
// be checked on its own.
#pragma once

#include <windows.h>

// The top-left corner that puts a window of the given size centred on the
// centre rectangle, clamped to the area (left and top win when it is too big).
POINT CenteredPosition(LONG width, LONG height, const RECT& centre, const RECT& area);

// A display monitor: its whole rectangle and its work area (the part that
// taskbars and docked bars leave free).
struct MonitorArea {
    RECT monitor;
    RECT work;
};

// The monitor that holds the largest part of the rectangle, as the system
// picks a window's monitor; when none holds any of it, the nearest one. Ties
// go to the earlier monitor. An index into the count (at least one) monitors.
int MonitorHolding(const RECT& rect, const MonitorArea* monitors, int count);

// Moves the window; with no reference, a child is centred on its parent and a
// top-level window on its owner, or on the work area when it has none. A
// top-level window stays inside the work area of the monitor that holds most
// of its owner (of itself without one).
BOOL CenterDialog(HWND window, HWND reference = nullptr);
