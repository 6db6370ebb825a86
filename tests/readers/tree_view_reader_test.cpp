#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "readers/tree_handles.h"
#include "readers/tree_view_reader.h"
#include "tests/support/list_fixture_process.h"
#include "tests/support/read_all.h"
#include "tests/support/scripted_control.h"

namespace {

using list_test::AddTreeItem;
using list_test::ReadAll;

TEST(TreeViewReaderTest, TreeOfAnotherProgramCollapsedBranchesIncluded)
{
    list_test::ListFixtureProcess* fixture = list_test::SharedFixture();
    if (!fixture)
        GTEST_SKIP() << "no list fixture";
    TreeViewReader tree(fixture->Control(304));
    EXPECT_EQ(L"TreeView contains 9 items", CountSentence(tree.Count()));
    std::wstring digits;
    while (digits.size() < 400)
        digits += static_cast<wchar_t>(L'0' + digits.size() % 10);
    EXPECT_EQ(L"Fruits\r\n\tApple\r\n\tCitrus\r\n\t\tLemon\r\n\t\tLime\r\n\t\"tab\tpear\"\r\n"
              L"Vegetables\r\n\tKale\r\n"
              L"long " + digits + L"\r\n",
              ReadAll(tree));
}

// Climbs of one and of three levels, a text too long for its first slot,
// more items than one step walks: read whole, then a question at a time.
TEST(TreeViewReaderTest, AQuestionAtATimeWalksTheSameTree)
{
    const std::wstring longText(600, L'w');
    list_test::ControlThread target(list_test::ControlOf(WC_TREEVIEWA, TVS_HASBUTTONS, [&longText](HWND tree) {
        HTREEITEM a = AddTreeItem(tree, TVI_ROOT, L"a");
        HTREEITEM b = AddTreeItem(tree, a, L"b");
        AddTreeItem(tree, AddTreeItem(tree, b, L"c"), longText.c_str());
        AddTreeItem(tree, b, L"e");
        HTREEITEM f = AddTreeItem(tree, TVI_ROOT, L"f");
        for (const wchar_t* leaf : {L"g", L"h", L"i", L"j", L"k"})
            AddTreeItem(tree, f, leaf);
        AddTreeItem(tree, TVI_ROOT, L"l");
    }));
    const std::wstring expected = L"a\r\n\tb\r\n\t\tc\r\n\t\t\t" + longText +
                                  L"\r\n\t\te\r\nf\r\n\tg\r\n\th\r\n\ti\r\n\tj\r\n\tk\r\nl\r\n";
    TreeViewReader whole(target.Control());
    EXPECT_EQ(expected, ReadAll(whole));
    TreeViewReader paced(target.Control());
    EXPECT_EQ(expected, ReadAll(paced, true));
    EXPECT_EQ(12, paced.Handled());
    EXPECT_EQ(ReadEnd::complete, paced.Ending());
}

// What the 32-bit Quarvel can prove of a 64-bit program's handles: those of
// the items in view, and no others.
TEST(TreeViewReaderTest, OnlyHandlesInViewAreProvenWhole)
{
    HTREEITEM shown = nullptr;
    HTREEITEM hidden = nullptr;
    list_test::ControlThread target(list_test::ControlOf(WC_TREEVIEWA, TVS_HASBUTTONS, [&](HWND tree) {
        shown = AddTreeItem(tree, TVI_ROOT, L"shown");
        hidden = AddTreeItem(tree, shown, L"in a collapsed branch");
        AddTreeItem(tree, TVI_ROOT, L"also shown");
    }));
    RemoteControl tree(target.Control(), 1000, 1000);
    ASSERT_EQ(RemoteProblem::none, tree.Open());
    TreeHandles handles(true);
    while (!handles.AllRowsTested())
        ASSERT_TRUE(handles.ProveRow(tree));
    EXPECT_EQ(2u, handles.Proven());
    EXPECT_TRUE(handles.Whole(reinterpret_cast<UINT_PTR>(shown)));
    EXPECT_FALSE(handles.Whole(reinterpret_cast<UINT_PTR>(hidden)));
}

}  // namespace
