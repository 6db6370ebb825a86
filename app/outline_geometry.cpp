#include "app/outline_geometry.h"

namespace {

constexpr LONG kBandAt96Dpi = 3;

bool Contains(const RECT& outer, const RECT& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool IsEmpty(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// The desktop window manager reports physical pixels whatever the caller's
// awareness. Where those do not sit between the window rectangle and the
// client area, they are in other units than the drawing thread's (a caller
// that is not per-monitor aware, on a monitor scaled otherwise than the
// system), or the program draws beyond them itself: then the window rectangle
// is what the user sees.
bool VisibleBoundsFit(const WindowGeometry& window)
{
    return window.framed && !IsEmpty(window.visible) && Contains(window.window, window.visible) &&
           Contains(window.visible, window.client);
}

}  // namespace

Outline OutlineFor(const WindowGeometry& window)
{
    Outline outline;
    outline.frame = VisibleBoundsFit(window) ? window.visible : window.window;
    const UINT dpi = window.dpi ? window.dpi : 96;
    outline.width = MulDiv(kBandAt96Dpi, int(dpi), 96);
    if (outline.width < 1)
        outline.width = 1;
    return outline;
}

int OutlineStrips(const Outline& outline, RECT (&strips)[4])
{
    const RECT& f = outline.frame;
    const LONG w = outline.width;
    if (IsEmpty(f) || w <= 0)
        return 0;
    const LONG topEnd = f.bottom - f.top > w ? f.top + w : f.bottom;
    const LONG bottomStart = f.bottom - w > topEnd ? f.bottom - w : topEnd;
    const LONG leftEnd = f.right - f.left > w ? f.left + w : f.right;
    const LONG rightStart = f.right - w > leftEnd ? f.right - w : leftEnd;
    const RECT all[4] = {{f.left, f.top, f.right, topEnd},
                         {f.left, bottomStart, f.right, f.bottom},
                         {f.left, topEnd, leftEnd, bottomStart},
                         {rightStart, topEnd, f.right, bottomStart}};
    int count = 0;
    for (const RECT& strip : all) {
        if (!IsEmpty(strip))
            strips[count++] = strip;
    }
    return count;
}

bool operator==(const Outline& a, const Outline& b)
{
    return a.frame.left == b.frame.left && a.frame.top == b.frame.top && a.frame.right == b.frame.right &&
           a.frame.bottom == b.frame.bottom && a.width == b.width;
}
