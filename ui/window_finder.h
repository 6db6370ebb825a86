// Picks any window on the screen with the mouse: press in the owner, drag over
// the screen with the window under the cursor outlined, release to pick it.
#pragma once

#include <windows.h>

#include "ui/finder_outline.h"

class WindowFinder {
public:
    HWND selected = nullptr;     // picked by the last completed drag
    HWND current = nullptr;      // under the cursor during a drag
    HWND highlighted = nullptr;  // carries the outline now
    HWND owner = nullptr;        // takes the capture; its client coordinates
    bool releasing = false;      // the drag's own end gives the capture back
    FinderOutline outline;

    // Called once per completed drag, before the capture is released.
    virtual void OnWindowSelected(HWND window);

    void SetOwner(HWND window);
    void OnButtonDown();
    void OnMouseMove(LPARAM position);
    void OnButtonUp();
    // The capture went elsewhere mid-drag (Alt+Tab, a window popping up):
    // the outline is taken off and the drag ends with nothing picked.
    void OnCaptureLost();

protected:
    ~WindowFinder() = default;
};
