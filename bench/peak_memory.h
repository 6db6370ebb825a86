// Growth of the process's memory over a measured operation, at its peak.
//
// Under Wine the process counters of GetProcessMemoryInfo do not follow the
// heap, so there the kernel's own figures are read through the Z: drive: the
// peak resident size is reset before the operation and read after it. On
// Windows the private bytes are sampled by a thread.
#pragma once

#include <windows.h>

#include <atomic>

class PeakMemory {
public:
    PeakMemory();
    ~PeakMemory();
    PeakMemory(const PeakMemory&) = delete;
    PeakMemory& operator=(const PeakMemory&) = delete;

    // Peak bytes above the level at construction.
    double GrowthBytes();

private:
    static DWORD WINAPI Sample(void* self);
    bool procfs = false;
    double baseline = 0;
    std::atomic<double> peak{0};
    std::atomic<bool> running{false};
    HANDLE sampler = nullptr;
};
