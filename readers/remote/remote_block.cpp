#include "readers/remote/remote_block.h"

#include "readers/remote/bitness.h"

namespace {

constexpr DWORD kMemoryAccess =
    PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION;

}  // namespace

RemoteProblem RemoteBlock::Open(HWND control)
{
    DWORD id = 0;
    GetWindowThreadProcessId(control, &id);
    process.Reset(id ? OpenProcess(kMemoryAccess, FALSE, id) : nullptr);
    if (!process)
        return RemoteProblem::accessDenied;
    target64 = Is64BitProcess(process.Get());
    return RemoteProblem::none;
}

RemoteProblem RemoteBlock::Reserve(std::size_t bytes)
{
    if (bytes <= size)
        return RemoteProblem::none;
    void* address = VirtualAllocEx(process.Get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address)
        return RemoteProblem::noMemory;
    // Freed at once when unusable: no message has pointed the program at it.
    ScopedRemoteMemory fresh({process.Get(), address});
    if (!ArrivesUnchanged(reinterpret_cast<std::uintptr_t>(address) + bytes, target64))
        return RemoteProblem::needs64Bit;
    memory = std::move(fresh);
    base = static_cast<char*>(address);
    size = bytes;
    return RemoteProblem::none;
}

bool RemoteBlock::Write(std::size_t offset, const void* data, std::size_t length) const
{
    SIZE_T done = 0;
    return offset + length <= size &&
           WriteProcessMemory(process.Get(), base + offset, data, length, &done) &&
           done == length;
}

bool RemoteBlock::Read(std::size_t offset, void* data, std::size_t length) const
{
    SIZE_T done = 0;
    return offset + length <= size &&
           ReadProcessMemory(process.Get(), base + offset, data, length, &done) &&
           done == length;
}

std::uint64_t RemoteBlock::Address(std::size_t offset) const
{
    return reinterpret_cast<std::uintptr_t>(base) + offset;
}

LPARAM RemoteBlock::Param(std::size_t offset) const
{
    return static_cast<LPARAM>(Address(offset));
}
