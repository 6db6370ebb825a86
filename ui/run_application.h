// The run sequence: owns the thread's message loop and the main dialog for
// as long as the program runs.
#pragma once

#include <windows.h>

// The exit code: the main dialog's quit code, or 0 when it could not be made.
int RunApplication(LPSTR commandLine, int showCommand);
