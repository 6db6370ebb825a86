#include "tools/child_process.h"

#include <vector>

std::string ProgramBeside(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + name;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments, DWORD startupFlags,
                           WORD showWindow)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = startupFlags;
    startup.wShowWindow = showWindow;
    if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        info = {};
}

ChildProcess::~ChildProcess()
{
    if (!info.hProcess)
        return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND ChildProcess::WaitForVisibleWindow(DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        WindowSearch search = {info.dwProcessId, nullptr};
        EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(1);
    }
    return nullptr;
}

void ChildProcess::Close(HWND window, UINT message, WPARAM wParam)
{
    if (window)
        PostMessageA(window, message, wParam, 0);
    if (info.hProcess && WaitForSingleObject(info.hProcess, 10000) == WAIT_TIMEOUT)
        TerminateProcess(info.hProcess, 1);
}

DWORD ChildProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (info.hProcess)
        GetExitCodeProcess(info.hProcess, &code);
    return code;
}
