#include "ui/window_finder.h"

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
        // No outline on a null window; the highlight then reads as none.
        if (current)
            outline.Show(current);
        else
            outline.Hide();
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
        // The outline is Quarvel's own windows: taking them away is the whole
        // erase, and no other program has anything to repaint.
        outline.Hide();
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
    outline.Hide();
    current = nullptr;
    highlighted = nullptr;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
}
