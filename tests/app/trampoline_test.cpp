// The stub that stands in for a bound dialog's procedure: its bytes on both
// processors, worked out by hand, and the stub written into code memory and
// called the way the system calls a dialog procedure.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/trampoline.h"

namespace {

template <std::size_t N>
std::vector<std::uint8_t> Bytes(const std::array<std::uint8_t, N>& bytes)
{
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

TEST(TrampolineEncodingTest, ThirtyTwoBitStubStoresTheObjectAndJumpsForward)
{
    // Object at 0x0012FF40, its code at 0x0012FF48, routing procedure at
    // 0x00401000: 0x00401000 - (0x0012FF48 + 13) = 0x002D10AB.
    EXPECT_EQ(Bytes(EncodeTrampoline32(0x0012FF40, 0x0012FF48, 0x00401000)),
              (std::vector<std::uint8_t>{0xC7, 0x44, 0x24, 0x04, 0x40, 0xFF, 0x12, 0x00, 0xE9, 0xAB, 0x10, 0x2D,
                                         0x00}));
}

TEST(TrampolineEncodingTest, ThirtyTwoBitStubJumpsBackwardWithATwosComplementDisplacement)
{
    // The procedure lies below the code: 0x00401230 - 0x00A31015 = -0x0062FDE5.
    EXPECT_EQ(Bytes(EncodeTrampoline32(0x00A31000, 0x00A31008, 0x00401230)),
              (std::vector<std::uint8_t>{0xC7, 0x44, 0x24, 0x04, 0x00, 0x10, 0xA3, 0x00, 0xE9, 0x1B, 0x02, 0x9D,
                                         0xFF}));
}

TEST(TrampolineEncodingTest, ThirtyTwoBitDisplacementCountsFromTheEndOfTheStub)
{
    // A target right behind the 13 bytes is a jump of zero.
    EXPECT_EQ(Bytes(EncodeTrampoline32(0x00400000, 0x00400000, 0x0040000D)),
              (std::vector<std::uint8_t>{0xC7, 0x44, 0x24, 0x04, 0x00, 0x00, 0x40, 0x00, 0xE9, 0, 0, 0, 0}));
    // Code at the top of the address space reaches a low target by wrapping.
    EXPECT_EQ(Bytes(EncodeTrampoline32(0x7FFE0000, 0xFFFFFFF0, 0x00000010)),
              (std::vector<std::uint8_t>{0xC7, 0x44, 0x24, 0x04, 0x00, 0x00, 0xFE, 0x7F, 0xE9, 0x13, 0, 0, 0}));
}

TEST(TrampolineEncodingTest, SixtyFourBitStubLoadsTheObjectIntoTheFirstArgumentAndJumpsThroughRax)
{
    EXPECT_EQ(Bytes(EncodeTrampoline64(0x00000123456789ABull, 0x00007FF612345678ull)),
              (std::vector<std::uint8_t>{
                  0x48, 0xB9, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01, 0x00, 0x00,  // mov rcx, object
                  0x48, 0xB8, 0x78, 0x56, 0x34, 0x12, 0xF6, 0x7F, 0x00, 0x00,  // mov rax, target
                  0xFF, 0xE0}));                                               // jmp rax
}

// ------------------------------------------------------------ code memory

struct Received {
    void* object;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int calls;
};

INT_PTR CALLBACK RecordingTarget(Received* received, UINT message, WPARAM wParam, LPARAM lParam)
{
    received->object = received;
    received->message = message;
    received->wParam = wParam;
    received->lParam = lParam;
    ++received->calls;
    return INT_PTR(wParam) + 1;
}

INT_PTR CALLBACK OtherTarget(Received* received, UINT, WPARAM, LPARAM)
{
    ++received->calls;
    return -7;
}

const void* AsTarget(INT_PTR(CALLBACK* procedure)(Received*, UINT, WPARAM, LPARAM))
{
    return reinterpret_cast<const void*>(procedure);
}

MEMORY_BASIC_INFORMATION Query(const void* address)
{
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(address, &info, sizeof(info));
    return info;
}

TEST(TrampolineCodeTest, UnwrittenCodeHasNoProcedure)
{
    TrampolineCode code;
    EXPECT_EQ(code.Address(), nullptr);
    EXPECT_EQ(code.Procedure(), nullptr);
}

TEST(TrampolineCodeTest, CallsTheTargetWithTheObjectInPlaceOfTheWindow)
{
    Received received = {};
    TrampolineCode code;
    ASSERT_TRUE(code.Write(&received, AsTarget(RecordingTarget)));
    const DLGPROC procedure = code.Procedure();
    ASSERT_NE(procedure, nullptr);

    // A fake window handle: only the stub's replacement of it reaches the target.
    const HWND window = reinterpret_cast<HWND>(std::uintptr_t(0x1234));
    EXPECT_EQ(procedure(window, WM_COMMAND, 41, 0x5678), 42);
    EXPECT_EQ(received.calls, 1);
    EXPECT_EQ(received.message, UINT(WM_COMMAND));
    EXPECT_EQ(received.wParam, WPARAM(41));
    EXPECT_EQ(received.lParam, LPARAM(0x5678));
    // Repeated calls return to the caller with its stack intact.
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(procedure(window, WM_USER, WPARAM(i), 0), i + 1);
    EXPECT_EQ(received.calls, 101);
}

TEST(TrampolineCodeTest, IsExecuteReadOnlyAndHoldsTheEncodedStub)
{
    Received received = {};
    TrampolineCode code;
    ASSERT_TRUE(code.Write(&received, AsTarget(RecordingTarget)));
    const MEMORY_BASIC_INFORMATION info = Query(code.Address());
    EXPECT_EQ(info.State, DWORD(MEM_COMMIT));
    EXPECT_EQ(info.Protect, DWORD(PAGE_EXECUTE_READ)) << "never writable and executable at once";
#if defined(_WIN64)
    const auto expected = EncodeTrampoline64(std::uintptr_t(&received), std::uintptr_t(AsTarget(RecordingTarget)));
#else
    const auto expected = EncodeTrampoline32(std::uint32_t(std::uintptr_t(&received)),
                                             std::uint32_t(std::uintptr_t(code.Address())),
                                             std::uint32_t(std::uintptr_t(AsTarget(RecordingTarget))));
#endif
    EXPECT_EQ(std::memcmp(code.Address(), expected.data(), expected.size()), 0);
}

TEST(TrampolineCodeTest, RewritingRetargetsTheSameCode)
{
    Received first = {}, second = {};
    TrampolineCode code;
    ASSERT_TRUE(code.Write(&first, AsTarget(RecordingTarget)));
    const void* address = code.Address();
    ASSERT_TRUE(code.Write(&second, AsTarget(OtherTarget)));
    EXPECT_EQ(code.Address(), address);
    EXPECT_EQ(Query(address).Protect, DWORD(PAGE_EXECUTE_READ));
    EXPECT_EQ(code.Procedure()(nullptr, WM_NULL, 0, 0), -7);
    EXPECT_EQ(first.calls, 0);
    EXPECT_EQ(second.calls, 1);
}

TEST(TrampolineCodeTest, MemoryIsReleasedWithItsOwner)
{
    Received received = {};
    const void* address = nullptr;
    {
        TrampolineCode code;
        ASSERT_TRUE(code.Write(&received, AsTarget(RecordingTarget)));
        address = code.Address();
    }
    EXPECT_EQ(Query(address).State, DWORD(MEM_FREE));
}

}  // namespace
