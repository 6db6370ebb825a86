// Programs of the other bitness: which one a program is, and how values cross
// between the two in window messages. A 64-bit program's records have other
// layouts, and a 32-bit sender's parameters reach a 64-bit program
// sign-extended, so an address from 2 GB up no longer names the same byte.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr bool kThisIs64Bit = sizeof(void*) == 8;

// The process must be open with PROCESS_QUERY_LIMITED_INFORMATION. When the
// system will not say, the program is taken to be of this one's bitness.
bool Is64BitProcess(HANDLE process);

// True when `value`, sent as a message parameter to a program of the given
// bitness, arrives there unchanged.
bool ArrivesUnchanged(std::uint64_t value, bool target64);

// A handle or index a program answered: a 32-bit program's answer has 32
// significant bits, however this side widened it.
std::uint64_t ValueFromReply(DWORD_PTR reply, bool target64);
