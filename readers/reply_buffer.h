// A reusable buffer for text that a window copies back without being told how
// much room there is (LB_GETTEXT, CB_GETLBTEXT). The size asked beforehand is
// only what the item held then: a list that changes in between may answer
// with more. The buffer keeps generous headroom over the size asked, and ends
// at a page that is never accessible, so that even a reply beyond the headroom
// stops there instead of running over other data.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/scoped.h"

class ReplyBuffer {
public:
    // Room for `characters` and a terminator, with headroom; false when the
    // memory cannot be had.
    bool Reserve(std::size_t characters);

    wchar_t* Data() const { return static_cast<wchar_t*>(pages.Get()); }
    // Wide characters that fit before the inaccessible page.
    std::size_t Capacity() const { return capacity; }

private:
    ScopedVirtualMemory pages;
    std::size_t capacity = 0;
};

// Headroom over the announced length: as much again, and never less than this.
constexpr std::size_t kReplyHeadroom = 32 * 1024;  // wide characters
