#include "ui/window_finder.h"

#include "app/scoped.h"

void WindowFinder::OnWindowSelected(HWND /*window*/)
{
}

void WindowFinder::SetOwner(HWND window)
{
    owner = window;
}

void WindowFinder::OnButtonDown()
{
    SetCapture(owner);
    SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
}

void WindowFinder::OnMouseMove(LPARAM position)
{
    if (!GetCapture())
        return;
    // Left of or above the client origin the coordinates are negative.
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ClientToScreen(owner, &point);
    current = WindowFromPoint(point);
    if (current != highlighted) {
        if (highlighted)
            DrawInvertedFrame(highlighted);
        // No outline on a null window; the highlight then reads as none.
        if (current)
            DrawInvertedFrame(current);
        highlighted = current;
    }
    SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
}

void WindowFinder::OnButtonUp()
{
    if (current) {
        OnWindowSelected(current);
        releasing = true;
        ReleaseCapture();
        releasing = false;
        // Repainting everything removes the outline left on the last window.
        // Invalidate with erase, but let each program erase and paint in its
        // own time: erasing at once waits on every window on the screen, and
        // a hung program would then freeze Quarvel for good.
        RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        selected = current;
        current = nullptr;
        highlighted = nullptr;
    }
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void WindowFinder::OnCaptureLost()
{
    if (releasing)
        return;
    // Inverting again restores what the outline covered.
    if (highlighted)
        DrawInvertedFrame(highlighted);
    current = nullptr;
    highlighted = nullptr;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void WindowFinder::DrawInvertedFrame(HWND window)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    // The pen colour does not matter under R2_NOT; the inside frame keeps the
    // whole band within the window. Declared before the DC so that it is
    // deleted only after the DC has been released.
    ScopedPen pen(CreatePen(PS_INSIDEFRAME, 3 * GetSystemMetrics(SM_CXBORDER), RGB(0, 0, 0)));
    ScopedWindowDC dc(window);
    if (!dc)
        return;
    SetROP2(dc, R2_NOT);
    ScopedSelection selectedPen(dc, pen.Get());
    ScopedSelection selectedBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
}
