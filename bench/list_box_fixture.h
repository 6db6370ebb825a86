// The list fixture's many-item list box in another process, as the
// benchmarks start it, and the yardstick of reading it: its bare round trips.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "bench/clock.h"
#include "tools/child_process.h"

constexpr int kManyListId = 105;
constexpr UINT kBareTimeoutMs = 5000;

// The physical limit: LB_GETTEXTLEN and LB_GETTEXT for every item, nothing else.
inline double BareRoundTrips(HWND list, int count)
{
    std::vector<wchar_t> buffer(4096);
    const LARGE_INTEGER start = Now();
    for (int i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, WPARAM(i), 0, SMTO_ABORTIFHUNG, kBareTimeoutMs, &length);
        if (length + 1 > buffer.size())
            buffer.resize(length + 1);
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buffer.data()),
                            SMTO_ABORTIFHUNG, kBareTimeoutMs, &copied);
    }
    return Seconds(start, Now());
}

// The fixture's many-item list box, once the fixture shows it filled.
inline HWND StartFixtureList(ChildProcess& fixture, const std::string& title)
{
    HWND main = nullptr;
    for (int wait = 0; fixture.Started() && !main && wait < 1200; ++wait) {
        main = FindWindowA("QuarvelListFixture", title.c_str());
        if (!main)
            Sleep(100);
    }
    return main ? GetDlgItem(main, kManyListId) : nullptr;
}

inline std::string FixtureArguments(int items, const std::string& title)
{
    return "--many " + std::to_string(items) + " --lifetime 7200 --title \"" + title + "\"";
}
