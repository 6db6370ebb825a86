// The code stub that the system calls as a bound dialog's procedure. It puts
// the object's address in place of the window-handle argument and jumps to the
// routing procedure.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/scoped.h"

constexpr std::size_t kTrampolineSize32 = 13;
constexpr std::size_t kTrampolineSize64 = 22;

// 32-bit x86: mov dword [esp+4], object; jmp rel32 (relative to the end of the
// 13 bytes at trampolineAddress).
std::array<std::uint8_t, kTrampolineSize32> EncodeTrampoline32(std::uint32_t object,
                                                                std::uint32_t trampolineAddress,
                                                                std::uint32_t target);
// x86_64: mov rcx, object; mov rax, target; jmp rax.
std::array<std::uint8_t, kTrampolineSize64> EncodeTrampoline64(std::uint64_t object,
                                                                std::uint64_t target);

#if defined(_WIN64)
constexpr std::size_t kTrampolineSize = kTrampolineSize64;
#else
constexpr std::size_t kTrampolineSize = kTrampolineSize32;
#endif

// The object's own storage holds the create record until the first message.
// It is at least the 13 bytes of the 32-bit stub and always large enough for
// the record.
constexpr std::size_t kTrampolineStorageSize = sizeof(void*) == 4 ? 13 : 24;

// Executable memory for one stub: written while writable, then switched to
// execute-read, never both at once. Released with its owner.
class TrampolineCode {
public:
    TrampolineCode() = default;
    TrampolineCode(const TrampolineCode&) = delete;
    TrampolineCode& operator=(const TrampolineCode&) = delete;

    // Writes the stub for object and target; FALSE when no memory could be had.
    BOOL Write(const void* object, const void* target);
    DLGPROC Procedure() const;
    const void* Address() const { return memory.Get(); }

private:
    ScopedVirtualMemory memory;
};
