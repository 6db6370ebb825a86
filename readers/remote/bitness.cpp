#include "readers/remote/bitness.h"

namespace {

bool RunsUnderWow64(HANDLE process, bool& wow64)
{
    BOOL answer = FALSE;
    if (!IsWow64Process(process, &answer))
        return false;
    wow64 = answer != FALSE;
    return true;
}

}  // namespace

bool Is64BitProcess(HANDLE process)
{
    bool targetWow64 = false;
    if (!RunsUnderWow64(process, targetWow64))
        return kThisIs64Bit;
    if (kThisIs64Bit)
        return !targetWow64;
    // A 32-bit Quarvel outside WOW64 runs on a 32-bit system, where every
    // program is 32-bit.
    bool selfWow64 = false;
    return RunsUnderWow64(GetCurrentProcess(), selfWow64) && selfWow64 && !targetWow64;
}

bool ArrivesUnchanged(std::uint64_t value, bool target64)
{
    if (!target64)
        return value <= 0xFFFFFFFFu;
    return kThisIs64Bit || value < 0x80000000u;
}

std::uint64_t ValueFromReply(DWORD_PTR reply, bool target64)
{
    const std::uint64_t value = reply;
    return target64 ? value : value & 0xFFFFFFFFu;
}
