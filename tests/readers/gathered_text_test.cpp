#include <gtest/gtest.h>

#include <string>

#include "readers/gathered_text.h"

namespace {

// Past the first reservation the text must move once, whole and terminated.
TEST(GatheredTextTest, TextOutgrowingItsReservationMovesWholeAndTerminated)
{
    GatheredText text;
    EXPECT_STREQ("", text.Text());
    const std::string piece(1000003, 'x');
    std::size_t expected = 0;
    for (char mark = 'a'; expected <= kGatherReserve + piece.size(); ++mark) {
        std::string marked = piece;
        marked.front() = mark;
        ASSERT_TRUE(text.Append(marked.data(), marked.size()));
        expected += marked.size();
    }
    ASSERT_EQ(expected, text.Size());
    for (std::size_t at = 0, mark = 'a'; at < expected; at += piece.size(), ++mark)
        ASSERT_EQ(char(mark), text.Text()[at]) << at;
    EXPECT_EQ('x', text.Text()[expected - 1]);
    EXPECT_EQ('\0', text.Text()[expected]);
}

}  // namespace
