// A program of the benchmark started as another process, ended with it.
#pragma once

#include <windows.h>

#include <string>

class ChildProcess {
public:
    // Starts the program that lies beside the benchmark, with arguments.
    ChildProcess(const std::string& program, const std::string& arguments);
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

private:
    PROCESS_INFORMATION info = {};
};

std::string ProgramBeside(const char* name);
