#include "app/trampoline.h"

#include <cstring>

namespace {

template <std::size_t N, typename Value>
void PutLittleEndian(std::array<std::uint8_t, N>& bytes, std::size_t at, Value value)
{
    for (std::size_t i = 0; i < sizeof(Value); ++i)
        bytes[at + i] = std::uint8_t(std::uint64_t(value) >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, kTrampolineSize32> EncodeTrampoline32(std::uint32_t object,
                                                                std::uint32_t trampolineAddress,
                                                                std::uint32_t target)
{
    std::array<std::uint8_t, kTrampolineSize32> bytes{0xC7, 0x44, 0x24, 0x04};
    PutLittleEndian(bytes, 4, object);
    bytes[8] = 0xE9;
    // Unsigned arithmetic wraps to the two's complement of a backward jump.
    PutLittleEndian(bytes, 9, std::uint32_t(target - (trampolineAddress + 13u)));
    return bytes;
}

std::array<std::uint8_t, kTrampolineSize64> EncodeTrampoline64(std::uint64_t object,
                                                                std::uint64_t target)
{
    std::array<std::uint8_t, kTrampolineSize64> bytes{0x48, 0xB9};
    PutLittleEndian(bytes, 2, object);
    bytes[10] = 0x48;
    bytes[11] = 0xB8;
    PutLittleEndian(bytes, 12, target);
    bytes[20] = 0xFF;
    bytes[21] = 0xE0;
    return bytes;
}

BOOL TrampolineCode::Write(const void* object, const void* target)
{
    if (!memory)
        memory.Reset(VirtualAlloc(nullptr, kTrampolineSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!memory)
        return FALSE;
    void* const code = memory.Get();
    DWORD previous = 0;
    if (!VirtualProtect(code, kTrampolineSize, PAGE_READWRITE, &previous))
        return FALSE;
#if defined(_WIN64)
    const auto bytes = EncodeTrampoline64(std::uint64_t(std::uintptr_t(object)),
                                          std::uint64_t(std::uintptr_t(target)));
#else
    const auto bytes = EncodeTrampoline32(std::uint32_t(std::uintptr_t(object)),
                                          std::uint32_t(std::uintptr_t(code)),
                                          std::uint32_t(std::uintptr_t(target)));
#endif
    std::memcpy(code, bytes.data(), bytes.size());
    if (!VirtualProtect(code, kTrampolineSize, PAGE_EXECUTE_READ, &previous))
        return FALSE;
    FlushInstructionCache(GetCurrentProcess(), code, kTrampolineSize);
    return TRUE;
}

DLGPROC TrampolineCode::Procedure() const
{
    return reinterpret_cast<DLGPROC>(memory.Get());
}
