#include "app/center.h"

#include "app/containers.h"

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

LONGLONG Overlap(LONG lowA, LONG highA, LONG lowB, LONG highB)
{
    const LONGLONG overlap = LONGLONG(highA < highB ? highA : highB) - (lowA > lowB ? lowA : lowB);
    return overlap > 0 ? overlap : 0;
}

LONGLONG Gap(LONG lowA, LONG highA, LONG lowB, LONG highB)
{
    const LONGLONG before = LONGLONG(lowB) - highA;
    const LONGLONG after = LONGLONG(lowA) - highB;
    const LONGLONG gap = before > after ? before : after;
    return gap > 0 ? gap : 0;
}

}  // namespace

int MonitorHolding(const RECT& rect, const MonitorArea* monitors, int count)
{
    int best = 0;
    LONGLONG bestArea = -1;
    for (int i = 0; i < count; ++i) {
        const RECT& m = monitors[i].monitor;
        const LONGLONG area = Overlap(rect.left, rect.right, m.left, m.right) *
                              Overlap(rect.top, rect.bottom, m.top, m.bottom);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    if (bestArea > 0)
        return best;
    LONGLONG nearest = -1;
    for (int i = 0; i < count; ++i) {
        const RECT& m = monitors[i].monitor;
        const LONGLONG dx = Gap(rect.left, rect.right, m.left, m.right);
        const LONGLONG dy = Gap(rect.top, rect.bottom, m.top, m.bottom);
        if (nearest < 0 || dx * dx + dy * dy < nearest) {
            best = i;
            nearest = dx * dx + dy * dy;
        }
    }
    return best;
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) noexcept
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    return reinterpret_cast<GrowArray<MonitorArea>*>(list)->Append(MonitorArea{info.rcMonitor, info.rcWork});
}

// The work area of the monitor that holds most of the rectangle; the primary
// monitor's when the monitors cannot be listed.
RECT WorkAreaHolding(const RECT& rect)
{
    GrowArray<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.count > 0)
        return monitors.data[MonitorHolding(rect, monitors.data, monitors.count)].work;
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

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
        if (reference)
            GetWindowRect(reference, &centre);
        area = WorkAreaHolding(reference ? centre : own);
        if (!reference)
            centre = area;
    }

    const POINT at = CenteredPosition(own.right - own.left, own.bottom - own.top, centre, area);
    return SetWindowPos(window, nullptr, at.x, at.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
