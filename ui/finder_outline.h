// The outline that marks the window under the finder. It is a band of four
// thin windows above all others, each showing the inverse of the screen
// beneath it, so it looks like a frame inverted on the screen, and it goes
// without a trace when they go: nothing is drawn into another program, so
// nothing of theirs has to be repainted. The windows are layered, so the
// desktop window manager composes them over any program, however it draws and
// however it is scaled; click-through, so the finder and the mouse see the
// window beneath; never activated. While shown, the outline follows its window
// as it moves, and leaves when the window is hidden, minimised or closed.
#pragma once

#include <windows.h>

#include "app/outline_geometry.h"
#include "app/scoped.h"

class FinderOutline {
public:
    FinderOutline() = default;
    FinderOutline(const FinderOutline&) = delete;
    FinderOutline& operator=(const FinderOutline&) = delete;

    // Outlines the window instead of the one before.
    void Show(HWND window);
    // Takes the outline off the screen and stops following.
    void Hide();
    // Measures the window again and moves the outline, or takes it off while
    // the window cannot be seen. Runs on a timer while the outline is up.
    void Follow();

private:
    bool MakeStrips();
    void HideStrips();
    void Draw(const Outline& outline);

    HWND target = nullptr;
    Outline drawn = {};
    RECT drawnStrips[4] = {};
    int drawnCount = 0;
    ScopedWindow strips[4];
};
