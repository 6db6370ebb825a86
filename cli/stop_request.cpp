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
// read has ended (or the wait is over) the event goes on to the system's own
// handler, which ends the process at once, as it ends any console program.
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
    return FALSE;
}
