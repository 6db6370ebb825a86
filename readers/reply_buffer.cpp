#include "readers/reply_buffer.h"

#include <cstdint>

namespace {

std::size_t PageSize()
{
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return info.dwPageSize;
}

}  // namespace

bool ReplyBuffer::Reserve(std::size_t characters)
{
    const std::size_t headroom = characters > kReplyHeadroom ? characters : kReplyHeadroom;
    if (characters > SIZE_MAX / 4 - headroom)
        return false;
    const std::size_t wanted = characters + 1 + headroom;
    if (wanted <= capacity)
        return true;
    const std::size_t page = PageSize();
    const std::size_t bytes = (wanted * sizeof(wchar_t) + page - 1) / page * page;
    if (bytes > SIZE_MAX - page)
        return false;
    // Reserve one page more than is committed: the last stays inaccessible.
    ScopedVirtualMemory reserved(VirtualAlloc(nullptr, bytes + page, MEM_RESERVE, PAGE_NOACCESS));
    if (!reserved || !VirtualAlloc(reserved.Get(), bytes, MEM_COMMIT, PAGE_READWRITE))
        return false;
    pages = std::move(reserved);
    capacity = bytes / sizeof(wchar_t);
    return true;
}
