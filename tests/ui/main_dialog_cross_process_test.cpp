#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "res/resource.h"
#include "tests/support/control_thread.h"
#include "tests/support/main_dialog_driver.h"
#include "tests/support/list_fixture_process.h"

namespace {

using list_test::InspectorDialog;
using list_test::ListFixtureProcess;

// One fixture process for the whole group: starting one costs tens of
// seconds under emulation.
class CrossProcessInspectionTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (ListFixtureProcess::Exists())
            fixture = std::make_unique<ListFixtureProcess>();
    }
    static void TearDownTestSuite() { fixture.reset(); }

    void SetUp() override
    {
        if (!fixture)
            GTEST_SKIP() << ListFixtureProcess::ProgramPath() << " is missing";
        ASSERT_TRUE(fixture->Ready()) << "the fixture's windows did not appear";
    }

    // Picks the fixture's control and clicks Get Count, then Get Contents.
    void Read(int id)
    {
        HWND control = fixture->Control(id);
        ASSERT_TRUE(control) << "no control " << id;
        dialog.Pick(control);
        dialog.Click(IDC_GET_COUNT);
        dialog.Click(IDC_GET_CONTENTS);
    }

    static std::unique_ptr<ListFixtureProcess> fixture;
    InspectorDialog dialog;
};

std::unique_ptr<ListFixtureProcess> CrossProcessInspectionTest::fixture;

TEST_F(CrossProcessInspectionTest, TwoItems)
{
    Read(ListFixtureProcess::kAlphaBeta);
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    EXPECT_EQ("alpha\r\nbeta\r\n", dialog.Contents());
}

TEST_F(CrossProcessInspectionTest, EmptyList)
{
    dialog.SetText(IDC_CONTENTS, "old text");
    Read(ListFixtureProcess::kEmpty);
    EXPECT_EQ("ListBox contains 0 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
}

TEST_F(CrossProcessInspectionTest, LongItemsAreShownWhole)
{
    std::string thousand;
    while (thousand.size() < 1000)
        thousand += "0123456789";
    Read(ListFixtureProcess::kLongItems);
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    EXPECT_EQ(std::string(255, 'x') + "\r\n" + thousand + "\r\n", dialog.Contents());
}

TEST_F(CrossProcessInspectionTest, CharactersBeyondAsciiKeepTheirCodePageBytes)
{
    Read(ListFixtureProcess::kAccents);
    EXPECT_EQ(list_test::InAnsiCodePage(L"caf\u00e9\r\nna\u00efve\r\nGr\u00fc\u00dfe\r\n"), dialog.Contents());
}

TEST_F(CrossProcessInspectionTest, ManyItemsInOrder)
{
    Read(ListFixtureProcess::kMany);
    EXPECT_EQ("ListBox contains 1000 items", dialog.Count());
    std::string expected;
    char item[64];
    for (int i = 0; i < 1000; ++i) {
        std::snprintf(item, sizeof(item), "item %06d of the many-item list\r\n", i);
        expected += item;
    }
    EXPECT_EQ(expected, dialog.Contents());
}

TEST_F(CrossProcessInspectionTest, WindowThatIsNotAListBox)
{
    dialog.SetText(IDC_CONTENTS, "old text");
    Read(ListFixtureProcess::kNotAList);
    EXPECT_EQ("not a list box", dialog.Text(IDC_WINDOW_TEXT));
    EXPECT_EQ("ListBox contains 0 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
}

TEST_F(CrossProcessInspectionTest, ListOfAProgramThatStoppedAnswering)
{
    Read(ListFixtureProcess::kHungList);
    ASSERT_EQ("one\r\ntwo\r\nthree\r\n", dialog.Contents());

    PostMessageA(fixture->HungWindow(), ListFixtureProcess::kHangMessage, 0, 0);
    // Hung once it lets a message go unanswered.
    DWORD_PTR ignored = 0;
    for (int attempt = 0; attempt < 50; ++attempt)
        if (!SendMessageTimeoutA(fixture->HungWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 200, &ignored))
            break;
    dialog.Click(IDC_GET_COUNT);
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("ListBox contains -1 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
}

}  // namespace
