// Display scale questions that only newer systems answer. Their functions are
// looked up at run time, so that the program still starts on Windows 7, and
// each question is answered as the older system would where they are missing.
#pragma once

#include <windows.h>

#include "app/scoped.h"

// For its lifetime the calling thread measures and draws in physical pixels:
// it is made per-monitor DPI aware where the system can switch a thread
// (Windows 10 1607 on), and given back its own awareness at the end. Windows
// created meanwhile keep that awareness.
class PerMonitorDpiScope {
public:
    PerMonitorDpiScope();

    // False where the thread kept the program's awareness: its coordinates
    // are then scaled to the system DPI on monitors set otherwise.
    bool Physical() const { return context.IsSet(); }

private:
    ScopedThreadDpiContext context;
};

// The DPI the monitor is set to (Windows 8.1 on), as a per-monitor aware
// program sees it; the system DPI where the system cannot tell.
UINT MonitorDpi(HMONITOR monitor);

// The DPI the program's own coordinates are scaled to.
UINT SystemDpi();
