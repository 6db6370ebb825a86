#include "readers/remote/remote_block.h"

#include "readers/remote/bitness.h"

namespace {

constexpr DWORD kMemoryAccess =
    PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION;

// What one question of a read needs at most, long texts aside: a step's
// records and their text slots.
constexpr std::size_t kKeptBlock = 16 * 1024;

// A protected process grants no other program access to its memory, not even
// an administrator's; it still answers the limited query, and from Windows 8
// on says whether it is protected (PROCESS_PROTECTION_LEVEL_INFORMATION).
bool IsProtectedProcess(DWORD id)
{
    ScopedHandle query(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    using ProcessInformation = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
    auto get = reinterpret_cast<ProcessInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetProcessInformation")));
    constexpr int kProtectionLevelInfo = 7;  // ProcessProtectionLevelInfo
    constexpr DWORD kNoProtection = 0xFFFFFFFE;  // PROTECTION_LEVEL_NONE
    DWORD level = kNoProtection;
    return query && get && get(query.Get(), kProtectionLevelInfo, &level, sizeof(level)) && level != kNoProtection;
}

}  // namespace

RemoteProblem RemoteBlock::Open(HWND control)
{
    DWORD id = 0;
    GetWindowThreadProcessId(control, &id);
    process.Reset(id ? OpenProcess(kMemoryAccess, FALSE, id) : nullptr);
    if (!process)
        return id && IsProtectedProcess(id) ? RemoteProblem::protectedProcess : RemoteProblem::accessDenied;
    target64 = Is64BitProcess(process.Get());
    return Fit(kKeptBlock / 4);
}

RemoteProblem RemoteBlock::Fit(std::size_t bytes)
{
    if (bytes <= size && (size <= kKeptBlock || bytes > size / 2))
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

bool RemoteBlock::ReadAt(std::uint64_t address, void* data, std::size_t length) const
{
    SIZE_T done = 0;
    return Reaches(address, length) &&
           ReadProcessMemory(process.Get(), reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)), data,
                             length, &done) &&
           done == length;
}

bool RemoteBlock::Reaches(std::uint64_t address, std::size_t length)
{
    return kThisIs64Bit || (address <= 0xFFFFFFFFu && length <= 0x100000000u - address);
}

std::uint64_t RemoteBlock::Address(std::size_t offset) const
{
    return reinterpret_cast<std::uintptr_t>(base) + offset;
}

LPARAM RemoteBlock::Param(std::size_t offset) const
{
    return static_cast<LPARAM>(Address(offset));
}
