#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "readers/list_box_reader.h"
#include "tests/support/control_thread.h"

namespace {

using list_test::ControlSetup;
using list_test::ControlThread;

// Short enough to keep the tests of targets that never answer quick.
constexpr UINT kShortTimeout = 300;

ControlSetup ListOf(std::vector<std::string> items)
{
    ControlSetup setup;
    setup.items = std::move(items);
    return setup;
}

TEST(ListBoxReaderTest, IndexBeyondTheListIsMissingNotFailed)
{
    ControlThread target(ListOf({"only"}));
    std::wstring item = L"stale";
    EXPECT_EQ(ItemStatus::missing, ReadListItem(target.Control(), 1, item));
    EXPECT_EQ(L"", item);
    EXPECT_EQ(ItemStatus::missing, ReadListItem(target.Control(), -1, item));
}

TEST(ListBoxReaderTest, DestroyedOrNullTargetCountsAsEmptyAndGivesNoText)
{
    ControlThread target(ListOf({"alpha", "beta"}));
    HWND list = target.Control();
    target.DestroyControl();
    ASSERT_FALSE(IsWindow(list));
    EXPECT_EQ(0, ReadListCount(list));
    EXPECT_EQ(L"", ReadListText(list));
    std::wstring item;
    EXPECT_EQ(ItemStatus::failed, ReadListItem(list, 0, item));
    EXPECT_EQ(0, ReadListCount(nullptr));
}

TEST(ListBoxReaderTest, TargetThatStoppedPumpingGivesUpWithinTheTimeout)
{
    ControlThread target(ListOf({"alpha", "beta"}));
    target.Freeze();
    const DWORD start = GetTickCount();
    // Left over from an earlier call: it must not be read as "no window".
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(LB_ERR, ReadListCount(target.Control(), kShortTimeout));
    EXPECT_EQ(L"", ReadListText(target.Control(), kShortTimeout));
    // Two waits of the timeout at most; a reader without one would never
    // have come back.
    EXPECT_LT(GetTickCount() - start, 10000u);
}

TEST(ListBoxReaderTest, TargetThatStopsAnsweringMidwayKeepsTheItemsReadBeforeIt)
{
    ControlSetup setup = ListOf({"one", "two", "three", "four"});
    setup.blockOnItem = 2;
    ControlThread target(setup);
    EXPECT_EQ(L"one\r\ntwo\r\n", ReadListText(target.Control(), kShortTimeout));
    EXPECT_TRUE(target.IsBlocked());
}

// A window that answers as a list box of four items: the second fails both
// requests, the fourth gives a length, then writes into the buffer and
// reports an error after all.
LRESULT CALLBACK PartlyFailingList(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static const wchar_t* const items[] = {L"first", nullptr, L"third", L"junk"};
    switch (message) {
    case LB_GETCOUNT:
        return 4;
    case LB_GETTEXTLEN:
        if (wParam < 4 && items[wParam])
            return lstrlenW(items[wParam]);
        return LB_ERR;
    case LB_GETTEXT:
        if (wParam < 4 && items[wParam]) {
            lstrcpyW(reinterpret_cast<wchar_t*>(lParam), items[wParam]);
            return wParam == 3 ? LB_ERR : lstrlenW(items[wParam]);
        }
        return LB_ERR;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

TEST(ListBoxReaderTest, ItemTheListReportsAsAnErrorAddsNothing)
{
    list_test::RegisterControlClass(L"QuarvelPartlyFailingList", PartlyFailingList);
    ControlSetup setup;
    setup.controlClass = "QuarvelPartlyFailingList";
    ControlThread target(setup);
    EXPECT_EQ(4, ReadListCount(target.Control()));
    EXPECT_EQ(L"first\r\nthird\r\n", ReadListText(target.Control()));
}

// A window that answers the list questions as a hostile or changing list
// would: item 0 grows right after its length was first asked (a newest-first
// log), item 1 claims a length no item has, and the count is junk when asked.
struct HostileAnswers {
    static LRESULT junkCount;
    static int lengthsAsked;
};
LRESULT HostileAnswers::junkCount = 0;
int HostileAnswers::lengthsAsked = 0;
constexpr size_t kGrownLength = 20000;

LRESULT CALLBACK HostileList(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LB_GETCOUNT:
        return HostileAnswers::junkCount ? HostileAnswers::junkCount : 3;
    case LB_GETTEXTLEN:
        if (wParam != 0)
            return 0x7FFFFFF0;
        return HostileAnswers::lengthsAsked++ == 0 ? 3 : static_cast<LRESULT>(kGrownLength);
    case LB_GETTEXT:
        if (wParam == 0) {
            const std::wstring grown(kGrownLength, L'g');
            lstrcpyW(reinterpret_cast<wchar_t*>(lParam), grown.c_str());
            return static_cast<LRESULT>(grown.size());
        }
        return LB_ERR;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

TEST(ListBoxReaderTest, HostileRepliesAreBoundedAndNeverOverrun)
{
    list_test::RegisterControlClass(L"QuarvelHostileList", HostileList);
    ControlSetup setup;
    setup.controlClass = "QuarvelHostileList";
    ControlThread target(setup);

    // The grown item is taken whole, not written past a buffer sized for 3;
    // the junk length ends the walk instead of asking for gigabytes.
    std::wstring item;
    EXPECT_EQ(ItemStatus::text, ReadListItem(target.Control(), 0, item));
    EXPECT_EQ(std::wstring(kGrownLength, L'g'), item);
    EXPECT_EQ(ItemStatus::failed, ReadListItem(target.Control(), 1, item));
    EXPECT_EQ(std::wstring(kGrownLength, L'g') + L"\r\n", ReadListText(target.Control()));

    // A count no list holds would drive a walk of hours.
    HostileAnswers::junkCount = 0x7FFFFFFF;
    const DWORD start = GetTickCount();
    EXPECT_EQ(LB_ERR, ReadListCount(target.Control()));
    EXPECT_EQ(L"", ReadListText(target.Control()));
    EXPECT_LT(GetTickCount() - start, 5000u);
    HostileAnswers::junkCount = 0;
}

}  // namespace
