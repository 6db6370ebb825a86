// The reading commands of quarvel-read: a control named by its handle, by a
// point on the screen or by its window's title, read with the dialog's own
// readers and written in the format asked.
#pragma once

#include <windows.h>

#include "cli/arguments.h"
#include "cli/outcome.h"

Outcome ReadWindow(HWND window, const Request& request);
// The window under the point, as the dialog's finder picks it.
Outcome ReadAtPoint(const Request& request);
// The Nth readable control (of that kind or class) of the first visible
// top-level window whose title holds the one asked.
Outcome ReadFound(const Request& request);
