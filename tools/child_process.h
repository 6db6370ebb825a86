// A program started beside Quarvel (a list fixture, Quarvel itself) as another
// process, ended with its owner.
#pragma once

#include <windows.h>

#include <string>

class ChildProcess {
public:
    // Starts the program with arguments; the start-up information's show
    // fields are passed on when given.
    ChildProcess(const std::string& program, const std::string& arguments, DWORD startupFlags = 0,
                 WORD showWindow = 0);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return info.hProcess != nullptr; }
    HANDLE Process() const { return info.hProcess; }
    DWORD Id() const { return info.dwProcessId; }
    // The process's first visible top-level window, polled until the timeout.
    HWND WaitForVisibleWindow(DWORD timeoutMs) const;
    // Asks the window to close and waits; ends the process if it will not.
    void Close(HWND window, UINT message, WPARAM wParam);
    // STILL_ACTIVE while the process runs.
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION info = {};
};

// A program in the folder of the running executable.
std::string ProgramBeside(const char* name);
