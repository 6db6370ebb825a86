// The performance counter, read as the benchmarks read it.
#pragma once

#include <windows.h>

inline LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

inline double SecondsSince(LARGE_INTEGER start)
{
    return Seconds(start, Now());
}
