#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "readers/list_text.h"
#include "app/ole_text.h"

namespace {

// Items served from a table; indexes listed in `missing` report an error,
// and from `failAt` on nothing answers. Records every index asked for.
struct TableSource {
    explicit TableSource(std::vector<std::wstring> items = {}) : items(std::move(items)) {}

    std::vector<std::wstring> items;
    std::vector<int> missing;
    int failAt = -1;
    std::vector<int> asked;

    ItemSource Source()
    {
        return [this](int index, std::wstring& item) {
            asked.push_back(index);
            if (failAt >= 0 && index >= failAt)
                return ItemStatus::failed;
            for (int skipped : missing)
                if (skipped == index)
                    return ItemStatus::missing;
            item = items.at(static_cast<size_t>(index));
            return ItemStatus::text;
        };
    }
};

TEST(ListTextTest, EveryItemIsFollowedByCarriageReturnAndLineFeed)
{
    TableSource table({L"alpha", L"beta"});
    EXPECT_EQ(L"alpha\r\nbeta\r\n", JoinListItems(2, table.Source()));
    EXPECT_EQ((std::vector<int>{0, 1}), table.asked);
}

TEST(ListTextTest, EmptyItemsStillTakeALine)
{
    TableSource table({L"", L"x", L""});
    EXPECT_EQ(L"\r\nx\r\n\r\n", JoinListItems(3, table.Source()));
}

TEST(ListTextTest, NoItemsOrAnErrorCountGiveEmptyTextWithoutAsking)
{
    TableSource table({L"alpha"});
    EXPECT_EQ(L"", JoinListItems(0, table.Source()));
    EXPECT_EQ(L"", JoinListItems(-1, table.Source()));  // LB_ERR
    EXPECT_EQ(L"", JoinListItems(-2147483647 - 1, table.Source()));
    EXPECT_TRUE(table.asked.empty());
}

TEST(ListTextTest, AFailedItemEndsTheWalkAndKeepsWhatWasRead)
{
    TableSource table({L"one", L"two", L"three", L"four"});
    table.failAt = 2;
    EXPECT_EQ(L"one\r\ntwo\r\n", JoinListItems(4, table.Source()));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), table.asked);

    table.asked.clear();
    table.failAt = 0;
    EXPECT_EQ(L"", JoinListItems(4, table.Source()));
    EXPECT_EQ((std::vector<int>{0}), table.asked);
}

TEST(ListTextTest, AMissingItemAddsNothingAndTheWalkGoesOn)
{
    TableSource table({L"one", L"two", L"three"});
    table.missing = {1};
    EXPECT_EQ(L"one\r\nthree\r\n", JoinListItems(3, table.Source()));
    EXPECT_EQ((std::vector<int>{0, 1, 2}), table.asked);
}

TEST(ListTextTest, ASourceThatLeavesTheItemUntouchedAddsAnEmptyLine)
{
    // The item buffer is emptied before every item: a source that writes
    // nothing cannot repeat the previous item.
    int calls = 0;
    const ItemSource source = [&calls](int, std::wstring& item) {
        if (calls++ == 0)
            item = L"first";
        return ItemStatus::text;
    };
    EXPECT_EQ(L"first\r\n\r\n", JoinListItems(2, source));
}

TEST(ListTextTest, SameTextAsAppendingEveryPieceToASystemString)
{
    // The reference: each item and each CR LF appended to the string, one
    // reallocation each.
    TableSource table;
    for (int i = 0; i < 300; ++i)
        table.items.push_back(std::wstring(static_cast<size_t>(i % 37), static_cast<wchar_t>(L'a' + i % 26)) +
                              L"\u00e9" + std::to_wstring(i));
    OleText reference = OleText::FromWide(L"");
    for (const std::wstring& item : table.items) {
        ASSERT_EQ(S_OK, reference.Append(item.data(), static_cast<UINT>(item.size())));
        ASSERT_EQ(S_OK, reference.Append(L"\r\n", 2));
    }
    const std::wstring joined = JoinListItems(static_cast<int>(table.items.size()), table.Source());
    EXPECT_EQ(std::wstring(reference.Get(), reference.Length()), joined);
}

}  // namespace
