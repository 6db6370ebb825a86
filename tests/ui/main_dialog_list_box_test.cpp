// Get Count and Get Contents on the list boxes of another thread and of
// another program alike: what the user sees must not depend on the host.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/control_thread.h"
#include "tests/support/list_fixture_process.h"
#include "tests/support/main_dialog_driver.h"

namespace {

using list_test::ControlSetup;
using list_test::ControlThread;
using list_test::ListFixtureProcess;

enum class Host { otherThread, otherProcess };

std::string Thousand()
{
    std::string digits;
    while (digits.size() < 1000)
        digits += "0123456789";
    return digits;
}

std::string ManyItem(int index)
{
    char item[64];
    std::snprintf(item, sizeof(item), "item %06d of the many-item list", index);
    return item;
}

// The fixture program's list boxes by id, and the same ones made in a thread
// of this process.
class ListBoxReadingTest : public testing::TestWithParam<Host> {
protected:
    void SetUp() override
    {
        if (GetParam() == Host::otherThread)
            return;
        if (!list_test::SharedFixture())
            GTEST_SKIP() << ListFixtureProcess::ProgramPath() << " is missing";
        ASSERT_TRUE(list_test::SharedFixture()->Ready()) << "the fixture's windows did not appear";
    }

    HWND List(int id)
    {
        if (GetParam() == Host::otherProcess)
            return list_test::SharedFixture()->Control(id);
        ControlSetup setup;
        switch (id) {
        case ListFixtureProcess::kAlphaBeta:
            setup.items = {"alpha", "beta"};
            break;
        case ListFixtureProcess::kLongItems:
            setup.items = {std::string(255, 'x'), Thousand()};
            break;
        case ListFixtureProcess::kAccents:
            for (const wchar_t* word : {L"caf\u00e9", L"na\u00efve", L"Gr\u00fc\u00dfe"})
                setup.items.push_back(list_test::InAnsiCodePage(word));
            break;
        case ListFixtureProcess::kMany:
            for (int i = 0; i < 1000; ++i)
                setup.items.push_back(ManyItem(i));
            break;
        case ListFixtureProcess::kNotAList:
            setup.controlClass = "STATIC";
            setup.controlText = "not a list box";
            break;
        case ListFixtureProcess::kHungList:
            setup.items = {"one", "two", "three"};
            break;
        }
        threads.push_back(std::make_unique<ControlThread>(setup));
        return threads.back()->Control();
    }

    // The list's thread stops answering for good.
    void Hang()
    {
        if (GetParam() == Host::otherThread) {
            threads.back()->Freeze();
            return;
        }
        HWND hung = list_test::SharedFixture()->HungWindow();
        PostMessageA(hung, ListFixtureProcess::kHangMessage, 0, 0);
        DWORD_PTR ignored = 0;
        for (int attempt = 0; attempt < 50; ++attempt)
            if (!SendMessageTimeoutA(hung, WM_NULL, 0, 0, SMTO_NORMAL, 200, &ignored))
                break;
    }

    void Read(HWND list)
    {
        ASSERT_TRUE(list);
        dialog.Pick(list);
        dialog.SetText(IDC_CONTENTS, "old text");
        dialog.Click(IDC_GET_COUNT);
        dialog.Click(IDC_GET_CONTENTS);
    }

    std::vector<std::unique_ptr<ControlThread>> threads;
    list_test::MainDialogDriver dialog;
};

TEST_P(ListBoxReadingTest, TwoItems)
{
    Read(List(ListFixtureProcess::kAlphaBeta));
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    EXPECT_EQ("alpha\r\nbeta\r\n", dialog.Contents());
}

TEST_P(ListBoxReadingTest, EmptyList)
{
    Read(List(ListFixtureProcess::kEmpty));
    EXPECT_EQ("ListBox contains 0 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
}

TEST_P(ListBoxReadingTest, ItemsOf255And1000CharactersAreShownWhole)
{
    Read(List(ListFixtureProcess::kLongItems));
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    EXPECT_EQ(std::string(255, 'x') + "\r\n" + Thousand() + "\r\n", dialog.Contents());
}

TEST_P(ListBoxReadingTest, CharactersBeyondAsciiAreShownExactly)
{
    Read(List(ListFixtureProcess::kAccents));
    EXPECT_EQ("caf\xC3\xA9\r\nna\xC3\xAFve\r\nGr\xC3\xBC\xC3\x9F" "e\r\n", dialog.Contents()) << "in UTF-8";
}

TEST_P(ListBoxReadingTest, ManyItemsInOrder)
{
    Read(List(ListFixtureProcess::kMany));
    EXPECT_EQ("ListBox contains 1000 items", dialog.Count());
    std::string expected;
    for (int i = 0; i < 1000; ++i)
        expected += ManyItem(i) + "\r\n";
    EXPECT_EQ(expected, dialog.Contents());
}

TEST_P(ListBoxReadingTest, WindowThatIsNotAListBoxReadsAsEmpty)
{
    Read(List(ListFixtureProcess::kNotAList));
    EXPECT_EQ("not a list box", dialog.Text(IDC_WINDOW_TEXT));
    EXPECT_EQ("ListBox contains 0 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
}

// Last: the fixture's hung window never answers again.
TEST_P(ListBoxReadingTest, ListOfAThreadThatStoppedAnswering)
{
    Read(List(ListFixtureProcess::kHungList));
    ASSERT_EQ("one\r\ntwo\r\nthree\r\n", dialog.Contents());
    Hang();
    // Each click returns after the reply timeout instead of waiting for good.
    dialog.Click(IDC_GET_COUNT);
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("ListBox contains -1 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
}

INSTANTIATE_TEST_SUITE_P(Hosts, ListBoxReadingTest, testing::Values(Host::otherThread, Host::otherProcess),
                         [](const testing::TestParamInfo<Host>& info) {
                             return info.param == Host::otherThread ? "OtherThread" : "OtherProcess";
                         });

}  // namespace
