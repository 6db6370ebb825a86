#include "app/containers.h"

#include <cstdint>

void* RuntimeHeap::Reallocate(void* block, std::size_t bytes)
{
    // realloc(p, 0) may or may not free; the containers need "release and
    // yield none", so that case is spelled out.
    if (bytes == 0) {
        std::free(block);
        return nullptr;
    }
    return std::realloc(block, bytes);
}

bool ByteSizeFits(std::int64_t elements, std::size_t elementSize)
{
    return elements >= 0 && elements <= INT32_MAX &&
           std::uint64_t(elements) * elementSize <= UINT32_MAX;
}
