#include "cli/stop_request.h"

StopRequest stopRequest;

bool StopRequest::Install()
{
    readEnded.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return readEnded && SetConsoleCtrlHandler(&StopRequest::OnConsoleEvent, TRUE);
}

void StopRequest::ReadEnded()
{
    if (readEnded)
        SetEvent(readEnded.Get());
}

// Runs on a thread of the system's; touches nothing that can throw. Once the
// read has ended (or the wait is over) the process ends with the status
// Windows gives a console program ended by Ctrl+C (Wine's own handler would
// say 0, which a script would take for a whole read).
BOOL WINAPI StopRequest::OnConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        break;
    default:
        return FALSE;
    }
    stopRequest.asked.store(true);
    WaitForSingleObject(stopRequest.readEnded.Get(), kStopWait);
    ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}
