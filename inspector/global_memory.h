// Scoped owners for a global memory block and for one lock of it.
#pragma once

#include <windows.h>

// Frees the block at the end unless its ownership was handed on.
class GlobalBlock {
public:
    explicit GlobalBlock(HGLOBAL block) : block(block) {}
    ~GlobalBlock()
    {
        if (block)
            GlobalFree(block);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    HGLOBAL Get() const { return block; }
    // For a new owner such as the clipboard, which frees it from then on.
    HGLOBAL Release()
    {
        HGLOBAL released = block;
        block = nullptr;
        return released;
    }

private:
    HGLOBAL block;
};

// The block's address while locked; null when the lock failed.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block(block), address(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard()
    {
        if (address)
            GlobalUnlock(block);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* Address() const { return address; }

private:
    HGLOBAL block;
    void* address;
};
