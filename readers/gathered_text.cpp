#include "readers/gathered_text.h"

#include <cstdint>
#include <cstring>

bool GatheredText::Append(const char* piece, std::size_t length)
{
    if (length > SIZE_MAX / 2 - size)
        return false;
    const std::size_t needed = size + length + 1;  // and the terminator
    if (needed > committed && !Commit(needed))
        return false;
    std::memcpy(static_cast<char*>(pages.Get()) + size, piece, length);
    size += length;
    // Committed pages start as zeros, and a piece never writes past its own
    // end: the byte after the text is still zero.
    return true;
}

const char* GatheredText::Text() const
{
    return pages ? static_cast<const char*>(pages.Get()) : "";
}

bool GatheredText::Commit(std::size_t bytes)
{
    const std::size_t wanted = (bytes + kGatherStep - 1) / kGatherStep * kGatherStep;
    if (wanted > reserved && !Move(wanted))
        return false;
    if (!VirtualAlloc(static_cast<char*>(pages.Get()) + committed, wanted - committed, MEM_COMMIT, PAGE_READWRITE))
        return false;
    committed = wanted;
    return true;
}

bool GatheredText::Move(std::size_t bytes)
{
    std::size_t ask = kGatherReserve > 2 * reserved ? kGatherReserve : 2 * reserved;
    void* region = nullptr;
    while (ask >= bytes && !(region = VirtualAlloc(nullptr, ask, MEM_RESERVE, PAGE_NOACCESS)))
        ask /= 2;
    if (!region)
        return false;
    ScopedVirtualMemory larger(region);
    if (committed) {
        if (!VirtualAlloc(larger.Get(), committed, MEM_COMMIT, PAGE_READWRITE))
            return false;
        std::memcpy(larger.Get(), pages.Get(), size);
    }
    pages = std::move(larger);
    reserved = ask;
    return true;
}
