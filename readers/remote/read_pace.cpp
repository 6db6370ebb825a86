#include "readers/remote/read_pace.h"

void ReadPace::StartSlice(DWORD milliseconds)
{
    start = GetTickCount();
    budget = milliseconds;
    asked = 0;
    held = false;
}

bool ReadPace::MayAsk()
{
    held = (stopAsked && stopAsked()) ||
           (asked > 0 && budget != INFINITE && GetTickCount() - start >= budget);
    if (!held)
        ++asked;
    return !held;
}
