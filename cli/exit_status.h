// What quarvel-read's exit code tells a script: whether it may take the
// output as the whole list, and if not, whose fault it is.
#pragma once

enum ExitStatus : int {
    kExitRead = 0,        // the whole list was read and written
    kExitNotFound = 1,    // no such window, or nothing readable matched
    kExitUsage = 2,       // the command line is wrong: nothing was asked of any window
    kExitUnreadable = 3,  // the control cannot be read at all: nothing is written
    kExitCutShort = 4,    // the read ended early: what was read is written
};
