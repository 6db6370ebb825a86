// UTF-16 text gathered a piece at a time into one run of address space reserved up
// front and committed as it fills, so that it never moves: the final text is
// the gathered text itself, with no copy at the end and no doubling on the
// way. Only when the reservation is full is a larger one taken and the text
// moved once.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/scoped.h"

class GatheredText {
public:
    // False when no memory could be had; the text is then as it was.
    bool Append(const wchar_t* piece, std::size_t length);

    // Zero-terminated; empty text when nothing was gathered.
    const wchar_t* Text() const;
    // In UTF-16 units.
    std::size_t Size() const { return size; }

    // Copies the text and its terminator to `destination` (room for Size()
    // + 1 units), giving back each step of its own memory as soon as it is
    // copied, so that the text is held about once on the way; the text is
    // then empty.
    void MoveInto(wchar_t* destination);

private:
    bool Commit(std::size_t bytes);
    bool Move(std::size_t bytes);

    ScopedVirtualMemory pages;
    std::size_t reserved = 0;
    std::size_t committed = 0;
    std::size_t size = 0;  // units
};

// Address space asked for at first, in bytes: more than nearly any list's text, yet
// small beside a 32-bit program's two gigabytes, and cheap to keep (the
// system's bookkeeping of reserved pages grows with their number). Asked
// for again, halving, when it is not to be had in one run.
constexpr std::size_t kGatherReserve = std::size_t(1) << 26;
// Committed at a time, in bytes.
constexpr std::size_t kGatherStep = 1024 * 1024;
