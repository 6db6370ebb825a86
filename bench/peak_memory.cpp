#include "bench/peak_memory.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A "Vm…:  123 kB" line of /proc/self/status, in bytes; negative when absent.
double ProcStatusBytes(const char* field)
{
    std::FILE* file = std::fopen("Z:\\proc\\self\\status", "r");
    if (!file)
        return -1;
    char line[256];
    double bytes = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof(line), file)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            bytes = std::atof(line + length + 1) * 1024.0;
            break;
        }
    }
    std::fclose(file);
    return bytes;
}

bool ResetPeakResident()
{
    std::FILE* file = std::fopen("Z:\\proc\\self\\clear_refs", "w");
    if (!file)
        return false;
    const bool written = std::fputs("5", file) >= 0;
    return std::fclose(file) == 0 && written;
}

double PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    return double(counters.PrivateUsage);
}

}  // namespace

PeakMemory::PeakMemory()
{
    procfs = ProcStatusBytes("VmRSS") >= 0 && ResetPeakResident();
    if (procfs) {
        baseline = ProcStatusBytes("VmRSS");
        return;
    }
    baseline = PrivateBytes();
    peak = baseline;
    running = true;
    sampler = CreateThread(nullptr, 0, Sample, this, 0, nullptr);
}

PeakMemory::~PeakMemory()
{
    running = false;
    if (sampler) {
        WaitForSingleObject(sampler, INFINITE);
        CloseHandle(sampler);
    }
}

DWORD WINAPI PeakMemory::Sample(void* self)
{
    auto* memory = static_cast<PeakMemory*>(self);
    while (memory->running) {
        const double now = PrivateBytes();
        if (now > memory->peak)
            memory->peak = now;
        Sleep(1);
    }
    return 0;
}

double PeakMemory::GrowthBytes()
{
    if (procfs)
        return ProcStatusBytes("VmHWM") - baseline;
    const double now = PrivateBytes();
    if (now > peak)
        peak = now;
    return peak - baseline;
}
