#include "app/center.h"

POINT CenteredPosition(LONG width, LONG height, const RECT& centre, const RECT& area)
{
    // Each half truncated toward zero on its own, as the platform's integer
    // division does, before the subtraction.
    LONG x = (centre.left + centre.right) / 2 - width / 2;
    LONG y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x < area.left)
        x = area.left;
    else if (x + width > area.right)
        x = area.right - width;
    if (y < area.top)
        y = area.top;
    else if (y + height > area.bottom)
        y = area.bottom - height;
    return POINT{x, y};
}

namespace {

bool IsShownTopLevel(HWND window)
{
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    return (style & WS_VISIBLE) && !(style & WS_MINIMIZE);
}

}  // namespace

BOOL CenterDialog(HWND window, HWND reference)
{
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const bool child = (style & WS_CHILD) != 0;
    if (!reference)
        reference = child ? GetParent(window) : GetWindow(window, GW_OWNER);

    RECT own = {};
    GetWindowRect(window, &own);
    RECT area = {};
    RECT centre = {};
    if (child) {
        HWND parent = GetParent(window);
        GetClientRect(parent, &area);
        GetClientRect(reference, &centre);
        MapWindowPoints(reference, parent, reinterpret_cast<POINT*>(&centre), 2);
    } else {
        if (reference && !IsShownTopLevel(reference))
            reference = nullptr;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        if (reference)
            GetWindowRect(reference, &centre);
        else
            centre = area;
    }

    const POINT at = CenteredPosition(own.right - own.left, own.bottom - own.top, centre, area);
    return SetWindowPos(window, nullptr, at.x, at.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
