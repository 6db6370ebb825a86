#include <gtest/gtest.h>

#include <string>

#include "readers/gathered_text.h"

namespace {

constexpr std::size_t kReservedUnits = kGatherReserve / sizeof(wchar_t);

// Past the first reservation the text must move once, whole and terminated;
// a piece larger than any reservation asked for is kept too.
TEST(GatheredTextTest, TextOutgrowingItsReservationMovesWholeAndTerminated)
{
    for (const std::size_t pieceUnits : {std::size_t(1000003), kReservedUnits + 3}) {
        GatheredText text;
        EXPECT_STREQ(L"", text.Text());
        const std::wstring piece(pieceUnits, L'x');
        std::size_t expected = 0;
        for (wchar_t mark = L'a'; expected <= kReservedUnits + piece.size(); ++mark) {
            std::wstring marked = piece;
            marked.front() = mark;
            ASSERT_TRUE(text.Append(marked.data(), marked.size())) << pieceUnits;
            expected += marked.size();
        }
        ASSERT_EQ(expected, text.Size());
        for (std::size_t at = 0, mark = L'a'; at < expected; at += piece.size(), ++mark)
            ASSERT_EQ(wchar_t(mark), text.Text()[at]) << at;
        EXPECT_EQ(L'x', text.Text()[expected - 1]);
        EXPECT_EQ(L'\0', text.Text()[expected]);

        // Moved out whole, as the box takes it, and nothing left behind.
        std::wstring moved(expected + 1, L'?');
        text.MoveInto(&moved[0]);
        EXPECT_EQ(0u, text.Size());
        EXPECT_STREQ(L"", text.Text());
        for (std::size_t at = 0, mark = L'a'; at < expected; at += piece.size(), ++mark)
            ASSERT_EQ(wchar_t(mark), moved[at]) << at;
        EXPECT_EQ(L'x', moved[expected - 1]);
        EXPECT_EQ(L'\0', moved[expected]);
    }
}

}  // namespace
