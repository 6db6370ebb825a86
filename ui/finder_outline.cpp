#include "ui/finder_outline.h"

#include "ui/desktop_composition.h"
#include "ui/display_dpi.h"

namespace {

constexpr wchar_t kStripClass[] = L"QuarvelFinderOutline";
constexpr UINT_PTR kFollowTimer = 1;
constexpr UINT kFollowMilliseconds = 100;

LRESULT CALLBACK StripProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (message == WM_TIMER && wParam == kFollowTimer) {
        if (auto* outline = reinterpret_cast<FinderOutline*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            outline->Follow();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterStripClass(HINSTANCE instance)
{
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kStripClass, &existing))
        return true;
    WNDCLASSEXW strip = {};
    strip.cbSize = sizeof strip;
    strip.lpfnWndProc = StripProcedure;
    strip.hInstance = instance;
    strip.lpszClassName = kStripClass;
    return RegisterClassExW(&strip) != 0;
}

// What the user can see of the window now, in the drawing thread's
// coordinates; false while it cannot be seen at all.
bool Measure(HWND window, bool physical, WindowGeometry& geometry)
{
    if (!IsWindowVisible(window) || IsIconic(GetAncestor(window, GA_ROOT)))
        return false;
    WINDOWINFO info = {};
    info.cbSize = sizeof info;
    if (!GetWindowInfo(window, &info))
        return false;
    geometry.window = info.rcWindow;
    geometry.client = info.rcClient;
    geometry.framed = !(info.dwStyle & WS_CHILD) && VisibleFrameBounds(window, geometry.visible);
    geometry.dpi = physical ? MonitorDpi(MonitorFromRect(&info.rcWindow, MONITOR_DEFAULTTONEAREST)) : SystemDpi();
    return true;
}

bool Overlaps(const RECT* a, int aCount, const RECT* b, int bCount)
{
    for (int i = 0; i < aCount; ++i) {
        for (int j = 0; j < bCount; ++j) {
            RECT common;
            if (IntersectRect(&common, &a[i], &b[j]))
                return true;
        }
    }
    return false;
}

// Shows the strip over the piece of the screen, with that piece's pixels
// inverted as they are now.
void Paint(HWND strip, const RECT& piece, HDC screen)
{
    SIZE size = {piece.right - piece.left, piece.bottom - piece.top};
    ScopedMemoryDC memory(CreateCompatibleDC(screen));
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
    if (!memory || !bitmap)
        return;
    ScopedSelection selected(memory.Get(), bitmap.Get());
    // CAPTUREBLT: layered windows beneath count as what is on the screen.
    BitBlt(memory.Get(), 0, 0, size.cx, size.cy, screen, piece.left, piece.top, NOTSRCCOPY | CAPTUREBLT);
    POINT origin = {piece.left, piece.top};
    POINT source = {0, 0};
    BLENDFUNCTION opaque = {AC_SRC_OVER, 0, 255, 0};
    // Moved, sized and filled at once; shown above all others the first time.
    if (UpdateLayeredWindow(strip, screen, &origin, &size, memory.Get(), &source, 0, &opaque, ULW_ALPHA) &&
        !IsWindowVisible(strip))
        SetWindowPos(strip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void HideStrip(HWND strip)
{
    SetWindowPos(strip, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

}  // namespace

void FinderOutline::Show(HWND window)
{
    target = window;
    if (MakeStrips())
        Follow();
}

void FinderOutline::Hide()
{
    target = nullptr;
    drawnCount = 0;
    // Destroying a window ends its timer too.
    for (ScopedWindow& strip : strips)
        strip.Reset();
}

void FinderOutline::Follow()
{
    if (!strips[0])
        return;
    PerMonitorDpiScope scale;
    WindowGeometry geometry;
    if (!Measure(target, scale.Physical(), geometry)) {
        HideStrips();
        return;
    }
    const Outline outline = OutlineFor(geometry);
    if (drawnCount == 0 || outline != drawn)
        Draw(outline);
}

bool FinderOutline::MakeStrips()
{
    if (strips[0])
        return true;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterStripClass(instance))
        return false;
    // Created per-monitor aware, so that they are placed in physical pixels.
    PerMonitorDpiScope scale;
    for (ScopedWindow& strip : strips) {
        strip.Reset(CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_TOOLWINDOW |
                                        WS_EX_NOACTIVATE,
                                    kStripClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this));
        if (!strip) {
            Hide();
            return false;
        }
    }
    SetTimer(strips[0].Get(), kFollowTimer, kFollowMilliseconds, nullptr);
    return true;
}

void FinderOutline::HideStrips()
{
    for (int i = 0; i < drawnCount; ++i)
        HideStrip(strips[i].Get());
    drawnCount = 0;
}

void FinderOutline::Draw(const Outline& outline)
{
    RECT pieces[4];
    const int count = OutlineStrips(outline, pieces);
    // The screen beneath the new band is read with the old band off it.
    // Apart, the strips just move; where the new band covers the old one, the
    // old one goes first, and the desktop window manager is given the time
    // to show it gone.
    if (Overlaps(drawnStrips, drawnCount, pieces, count)) {
        HideStrips();
        WaitForComposition();
    }
    ScopedWindowDC screen(nullptr);
    if (!screen) {
        HideStrips();
        return;
    }
    for (int i = 0; i < count; ++i) {
        Paint(strips[i].Get(), pieces[i], screen);
        drawnStrips[i] = pieces[i];
    }
    for (int i = count; i < drawnCount; ++i)
        HideStrip(strips[i].Get());
    drawn = outline;
    drawnCount = count;
}
