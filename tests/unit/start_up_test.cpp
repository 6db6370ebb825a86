// The real Quarvel.exe started as a shell would start it: the show command of
// the start-up information reaches the main dialog unchanged, and arguments on
// the command line change nothing. 64-bit only: a 32-bit process start costs
// tens of seconds under emulation here, and the end-to-end suite starts the
// 32-bit program anyway.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if defined(_WIN64)

namespace {

std::string QuarvelPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of("\\/") + 1);
    return directory + QUARVEL_EXE_NAME;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    if (owner == search->processId && IsWindowVisible(window) && std::string(caption) == "Quarvel") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A started Quarvel, ended with its own cancel command.
class StartedQuarvel {
public:
    StartedQuarvel(const std::string& arguments, DWORD flags, WORD showWindow)
    {
        std::string commandLine = "\"" + QuarvelPath() + "\" " + arguments;
        std::vector<char> writable(commandLine.begin(), commandLine.end());
        writable.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = flags;
        startup.wShowWindow = showWindow;
        if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info))
            info = {};
    }
    ~StartedQuarvel()
    {
        if (!info.hProcess)
            return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    StartedQuarvel(const StartedQuarvel&) = delete;
    StartedQuarvel& operator=(const StartedQuarvel&) = delete;

    HWND WaitForDialog() const
    {
        for (int attempt = 0; info.hProcess && attempt < 600; ++attempt) {
            Search search = {info.dwProcessId, nullptr};
            EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found)
                return search.found;
            Sleep(50);
        }
        return nullptr;
    }

    DWORD CancelAndWait(HWND dialog) const
    {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info = {};
};

TEST(StartUpTest, ShowCommandOfTheStartUpInformationReachesTheDialog)
{
    StartedQuarvel quarvel("", STARTF_USESHOWWINDOW, SW_SHOWMINNOACTIVE);
    HWND dialog = quarvel.WaitForDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(IsIconic(dialog));
    EXPECT_EQ(2u, quarvel.CancelAndWait(dialog));
}

TEST(StartUpTest, ShowWindowIgnoredWithoutTheFlagAndArgumentsChangeNothing)
{
    // Without STARTF_USESHOWWINDOW the runtime passes SW_SHOWDEFAULT,
    // whatever wShowWindow holds.
    StartedQuarvel quarvel("--minimised /x 129 \"a b\"", 0, SW_SHOWMINNOACTIVE);
    HWND dialog = quarvel.WaitForDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_NE(nullptr, GetDlgItem(dialog, 1005));
    EXPECT_EQ(2u, quarvel.CancelAndWait(dialog));
}

}  // namespace

#endif
