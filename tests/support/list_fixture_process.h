// The list-box fixture program started as another process for as long as the
// object lives: its windows are found by their caption, and it is asked to
// close at the end (ended outright only if it will not).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace list_test {

class ListFixtureProcess {
public:
    // Control ids of the fixture's main window and of its hung window.
    static constexpr int kAlphaBeta = 101;
    static constexpr int kEmpty = 102;
    static constexpr int kLongItems = 103;
    static constexpr int kAccents = 104;
    static constexpr int kMany = 105;
    static constexpr int kNotAList = 106;
    static constexpr int kHungList = 201;
    static constexpr UINT kHangMessage = WM_APP + 1;

    static std::string ProgramPath()
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string beside = path;
        beside.erase(beside.find_last_of("\\/") + 1);
        return beside + "list_fixture.exe";
    }

    static bool Exists() { return GetFileAttributesA(ProgramPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

    // A caption of this process's own, so that runs side by side never meet.
    explicit ListFixtureProcess(int many = 1000)
        : title("Quarvel list fixture " + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()))
    {
        std::string command = "\"" + ProgramPath() + "\" --many " + std::to_string(many) + " --title \"" + title + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            return;
        // A 32-bit program starts slowly under emulation.
        for (int waited = 0; waited < 180000 && !main; waited += 100) {
            if (WaitForSingleObject(info.hProcess, 100) == WAIT_OBJECT_0)
                break;
            main = FindWindowA("QuarvelListFixture", title.c_str());
        }
        hung = FindWindowA(nullptr, (title + " (hung)").c_str());
        controls = FindWindowA(nullptr, (title + " (controls)").c_str());
    }
    ~ListFixtureProcess()
    {
        if (!info.hProcess)
            return;
        if (main)
            PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    ListFixtureProcess(const ListFixtureProcess&) = delete;
    ListFixtureProcess& operator=(const ListFixtureProcess&) = delete;

    bool Ready() const { return main && hung; }
    // The controls of all three windows by id: 1xx, 201 and 3xx.
    HWND Control(int id) const { return GetDlgItem(id == kHungList ? hung : id >= 300 ? controls : main, id); }
    HWND HungWindow() const { return hung; }
    const std::string& Title() const { return title; }

private:
    std::string title;
    PROCESS_INFORMATION info = {};
    HWND main = nullptr;
    HWND hung = nullptr;
    HWND controls = nullptr;
};

// One fixture for every test of a run that needs it: a start costs tens of
// seconds under emulation. Null when the program is missing. Its hung window
// never answers again once a test has hung it; the others stay as they are.
inline ListFixtureProcess* SharedFixture()
{
    static const std::unique_ptr<ListFixtureProcess> fixture =
        ListFixtureProcess::Exists() ? std::make_unique<ListFixtureProcess>() : nullptr;
    return fixture.get();
}

}  // namespace list_test
