// Working memory inside the program that owns a control. The records a
// control's "get" messages fill in must lie in that program's own address
// space: they are written there, the control is asked, and the answers are
// read back. The block is as large as the question under way needs: a few
// kilobytes, more only while one long text is read (a 16M-character text
// needs 32 MB), and it shrinks again for the next question. It is given back
// at the end of the read, except after a message that did not come back in
// time: the program may still write into it when it wakes, and a block left
// in a hung program beats a crash in it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "app/scoped.h"
#include "readers/remote/remote_layouts.h"

// What keeps a block from being had in the program.
enum class RemoteProblem {
    none,
    accessDenied,      // the program refuses Quarvel (a higher integrity level)
    protectedProcess,  // a protected process: it refuses every other program, administrators too
    needs64Bit,    // its addresses are out of a 32-bit Quarvel's reach
    noMemory,      // it has no memory to spare
};

class RemoteBlock {
public:
    // Opens the program that owns `control` for its memory, and takes a
    // first block.
    RemoteProblem Open(HWND control);

    // A block for a question of `bytes`: the one held when it is large
    // enough and not much larger than needed, else a new one in its place.
    // needs64Bit when the program would not receive the block's addresses
    // unchanged.
    RemoteProblem Fit(std::size_t bytes);
    std::size_t Size() const { return size; }

    bool Write(std::size_t offset, const void* data, std::size_t size) const;
    bool Read(std::size_t offset, void* data, std::size_t size) const;

    // Memory of the program outside the block: a text the control answered
    // by pointer. False when it cannot be read there.
    bool ReadAt(std::uint64_t address, void* data, std::size_t size) const;
    // False when the address lies beyond what this side can name (a 64-bit
    // program's upper memory, seen from the 32-bit Quarvel).
    static bool Reaches(std::uint64_t address, std::size_t size);

    // `offset` as an address in the program, and as a message parameter.
    std::uint64_t Address(std::size_t offset) const;
    LPARAM Param(std::size_t offset) const;

    bool TargetIs64Bit() const { return target64; }
    const ControlLayouts& Layouts() const { return LayoutsFor(target64); }

    // Leaves the block to the program for good; what the program wrote
    // before can still be read.
    void Abandon() { memory.Take(); }

private:
    ScopedHandle process;
    ScopedRemoteMemory memory;
    char* base = nullptr;  // the block in the program, owned or abandoned
    std::size_t size = 0;
    bool target64 = false;
};
