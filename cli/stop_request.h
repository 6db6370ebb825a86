// Ctrl+C, Ctrl+Break or the console closing, as the read sees it: the
// process's one piece of shared state, written by the system's handler thread
// and read by the main thread before every question to the other program.
//
// The handler only sets the flag and then waits, a bounded time, for the main
// thread to say that it has ended its read: by then the reader has given back
// the memory it held in the other program, and the handler ends the process
// with STATUS_CONTROL_C_EXIT, nothing more written. A question that the other
// program does not answer within that time is left to it as the dialog leaves
// it (its block with it).
#pragma once

#include <windows.h>

#include <atomic>

#include "app/scoped.h"

class StopRequest {
public:
    // Installs the handler for the life of the process.
    bool Install();
    bool Asked() const { return asked.load(); }
    // Called by the main thread once nothing is left in another program.
    void ReadEnded();

private:
    static BOOL WINAPI OnConsoleEvent(DWORD event);

    std::atomic<bool> asked{false};
    ScopedHandle readEnded;
};

// Long enough for one answer of a busy program, short enough to feel at once.
constexpr DWORD kStopWait = 1000;  // milliseconds

extern StopRequest stopRequest;
