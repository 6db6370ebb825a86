#include "readers/gathered_text.h"

#include <cstdint>
#include <cstring>

bool GatheredText::Append(const wchar_t* piece, std::size_t length)
{
    if (length > SIZE_MAX / (2 * sizeof(wchar_t)) - size)
        return false;
    const std::size_t needed = (size + length + 1) * sizeof(wchar_t);  // and the terminator
    if (needed > committed && !Commit(needed))
        return false;
    std::memcpy(static_cast<wchar_t*>(pages.Get()) + size, piece, length * sizeof(wchar_t));
    size += length;
    // Committed pages start as zeros, and a piece never writes past its own
    // end: the unit after the text is still zero.
    return true;
}

const wchar_t* GatheredText::Text() const
{
    return pages ? static_cast<const wchar_t*>(pages.Get()) : L"";
}

void GatheredText::MoveInto(wchar_t* destination)
{
    char* from = static_cast<char*>(pages.Get());
    const std::size_t bytes = size * sizeof(wchar_t);
    for (std::size_t done = 0; done < bytes; done += kGatherStep) {
        const std::size_t step = bytes - done < kGatherStep ? bytes - done : kGatherStep;
        std::memcpy(reinterpret_cast<char*>(destination) + done, from + done, step);
        // A step is a whole number of pages from the reservation's start,
        // which is all that giving pages back asks.
        VirtualFree(from + done, kGatherStep, MEM_DECOMMIT);
    }
    destination[size] = L'\0';
    *this = GatheredText();
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
    // A piece larger than the usual growth is kept all the same: the last
    // try asks for exactly what it needs.
    std::size_t ask = kGatherReserve > 2 * reserved ? kGatherReserve : 2 * reserved;
    if (ask < bytes)
        ask = bytes;
    void* region = nullptr;
    while (!(region = VirtualAlloc(nullptr, ask, MEM_RESERVE, PAGE_NOACCESS))) {
        if (ask == bytes)
            return false;
        ask = ask / 2 > bytes ? ask / 2 : bytes;
    }
    ScopedVirtualMemory larger(region);
    if (committed) {
        if (!VirtualAlloc(larger.Get(), committed, MEM_COMMIT, PAGE_READWRITE))
            return false;
        std::memcpy(larger.Get(), pages.Get(), size * sizeof(wchar_t));
    }
    pages = std::move(larger);
    reserved = ask;
    return true;
}
