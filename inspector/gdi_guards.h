// Scoped owners for the window DC and GDI objects of one drawing call, given
// back in reverse order of declaration.
#pragma once

#include <windows.h>

class WindowDC {
public:
    explicit WindowDC(HWND window) : window(window), dc(GetWindowDC(window)) {}
    ~WindowDC()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    operator HDC() const { return dc; }

private:
    HWND window;
    HDC dc;
};

class Pen {
public:
    explicit Pen(HPEN pen) : pen(pen) {}
    ~Pen()
    {
        if (pen)
            DeleteObject(pen);
    }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    operator HPEN() const { return pen; }

private:
    HPEN pen;
};

// Selects an object into a DC and selects the previous one back at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous)
            SelectObject(dc, previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};
