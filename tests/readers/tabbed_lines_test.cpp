#include <gtest/gtest.h>

#include <string>

#include "readers/tabbed_lines.h"

namespace {

TEST(TabbedLinesTest, PlainFieldsAreJoinedByTabsAndEndedByCrLf)
{
    std::wstring lines = L"before\r\n";
    AppendRow(lines, {L"alpha", L"", L"say \"hi\"", L""});
    EXPECT_EQ(L"before\r\nalpha\t\tsay \"hi\"\t\r\n", lines);
}

TEST(TabbedLinesTest, FieldsThatWouldSplitOrOpenAQuoteAreQuotedWithQuotesDoubled)
{
    std::wstring lines;
    AppendRow(lines, {L"a\tb", L"one\r\ntwo \"2\"", L"cr\ronly", L"lf\nonly", L"\"lead\" quote"});
    EXPECT_EQ(L"\"a\tb\"\t\"one\r\ntwo \"\"2\"\"\"\t\"cr\ronly\"\t\"lf\nonly\"\t\"\"\"lead\"\" quote\"\r\n", lines);
}

TEST(TabbedLinesTest, IndentIsOneTabPerLevelBeforeTheQuotedField)
{
    std::wstring lines;
    AppendIndented(lines, 0, L"root");
    AppendIndented(lines, 2, L"x\ty");
    AppendIndented(lines, 1, L"");
    EXPECT_EQ(L"root\r\n\t\t\"x\ty\"\r\n\t\r\n", lines);
}

// What the box shows: a pair stays whole, each lone half is a replacement
// character, whichever sink method brought it.
TEST(TabbedLinesTest, LoneHalvesOfSurrogatePairsAreShownAsReplacements)
{
    std::wstring lines;
    TabbedLines sink(lines);
    sink.Item(L"lone \xD800 half");
    const std::wstring cells[] = {L"\xDC00", L"pair \xD83D\xDE00"};
    sink.Row(cells, 2);
    sink.TreeItem(1, L"end \xD83D");
    EXPECT_EQ(L"lone \xFFFD half\r\n\xFFFD\tpair \xD83D\xDE00\r\n\tend \xFFFD\r\n", lines);
}

}  // namespace
