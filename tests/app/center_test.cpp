// Centring: the arithmetic on its own, then CenterDialog on real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/center.h"
#include "tests/support/dialog_test_support.h"

using dialog_test::Height;
using dialog_test::TestWindow;
using dialog_test::Width;
using dialog_test::WindowRect;
using dialog_test::WorkArea;

namespace {

void ExpectAt(const POINT& actual, LONG x, LONG y)
{
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
}

TEST(CenteredPositionTest, CentresOnTheAreaWithoutAReference)
{
    const RECT area = {0, 0, 1024, 738};
    ExpectAt(CenteredPosition(400, 300, area, area), 312, 219);
}

TEST(CenteredPositionTest, HalvesEachTermSeparatelyTowardZero)
{
    const RECT screen = {0, 0, 1024, 768};
    ExpectAt(CenteredPosition(101, 51, screen, screen), 462, 359);  // not 461, 358
    const RECT odd = {0, 0, 801, 601};
    ExpectAt(CenteredPosition(101, 51, odd, odd), 350, 275);
    // Negative sums truncate toward zero too: -5 / 2 is -2, not -3.
    const RECT wide = {-100, -100, 100, 100};
    const RECT leftOfOrigin = {-5, -7, 0, 0};
    ExpectAt(CenteredPosition(3, 5, leftOfOrigin, wide), -2 - 1, -3 - 2);
}

TEST(CenteredPositionTest, LeftAndTopWinWhenTheWindowIsTooBig)
{
    const RECT area = {0, 0, 800, 600};
    ExpectAt(CenteredPosition(1000, 700, area, area), 0, 0);
    const RECT shifted = {60, 0, 1024, 768};
    ExpectAt(CenteredPosition(1000, 100, shifted, shifted), 60, 334);
}

TEST(CenteredPositionTest, PullsBackFromTheRightAndBottomEdges)
{
    const RECT area = {0, 0, 1024, 768};
    const RECT owner = {900, 600, 1000, 760};
    ExpectAt(CenteredPosition(400, 200, owner, area), 624, 568);
}

TEST(CenteredPositionTest, RightEdgeClampIsNotCheckedAgainstTheLeft)
{
    const RECT area = {0, 0, 800, 600};
    const RECT owner = {600, 0, 800, 600};
    ExpectAt(CenteredPosition(1000, 100, owner, area), -200, 250);
}

TEST(CenteredPositionTest, CentresABoxOnItsOwner)
{
    const RECT area = {0, 0, 1024, 738};
    const RECT mainDialog = {312, 219, 712, 519};
    ExpectAt(CenteredPosition(300, 180, mainDialog, area), 362, 279);
}

TEST(CenteredPositionTest, ComparesSignedCoordinates)
{
    // An area entirely left of and above the origin: unsigned comparisons
    // would take every coordinate for huge and clamp wrongly.
    const RECT area = {-1000, -800, -200, -100};
    const RECT centre = {-300, -200, -100, 0};
    ExpectAt(CenteredPosition(100, 100, centre, area), -300, -200);
    const RECT inside = {-700, -500, -500, -300};
    ExpectAt(CenteredPosition(100, 100, inside, area), -650, -450);
}

// Which monitor's work area a box is kept in. A primary of 1920 x 1080 with a
// second monitor to its right, a third left of it and a fourth above it.
const MonitorArea kMonitors[] = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
    {{1920, 0, 3200, 1024}, {1920, 0, 3200, 984}},
    {{-1280, 56, 0, 1080}, {-1280, 56, 0, 1080}},
    {{0, -900, 1600, 0}, {0, -900, 1600, -40}},
};

TEST(MonitorHoldingTest, PicksTheMonitorHoldingMostOfTheWindow)
{
    EXPECT_EQ(MonitorHolding({2200, 300, 2600, 600}, kMonitors, 4), 1);
    // Straddling the first two: 100 pixels on the primary, 300 on the second.
    EXPECT_EQ(MonitorHolding({1820, 300, 2220, 600}, kMonitors, 4), 1);
    EXPECT_EQ(MonitorHolding({1620, 300, 2020, 600}, kMonitors, 4), 0);
    // Left of and above the primary: negative coordinates.
    EXPECT_EQ(MonitorHolding({-900, 400, -100, 700}, kMonitors, 4), 2);
    EXPECT_EQ(MonitorHolding({-200, -500, 300, -100}, kMonitors, 4), 3);
    // Half on the primary, half on the left one: the earlier wins.
    EXPECT_EQ(MonitorHolding({-200, 400, 200, 700}, kMonitors, 4), 0);
}

TEST(MonitorHoldingTest, PicksTheNearestMonitorWhenNoneHoldsTheWindow)
{
    EXPECT_EQ(MonitorHolding({3300, 100, 3500, 300}, kMonitors, 4), 1);
    EXPECT_EQ(MonitorHolding({-1500, 1200, -1400, 1300}, kMonitors, 4), 2);
    EXPECT_EQ(MonitorHolding({1700, -1000, 1800, -950}, kMonitors, 4), 3);
    // An empty rectangle, a window that has no size yet.
    EXPECT_EQ(MonitorHolding({2500, 500, 2500, 500}, kMonitors, 4), 1);
    EXPECT_EQ(MonitorHolding({2500, 500, 2500, 500}, kMonitors, 1), 0);
}

// Real windows. The work area under the virtual display is the whole screen
// or less; every expectation is computed from the real rectangles.

RECT Around(LONG x, LONG y, LONG width, LONG height)
{
    return RECT{x, y, x + width, y + height};
}

POINT TopLeft(HWND window)
{
    const RECT rect = WindowRect(window);
    return POINT{rect.left, rect.top};
}

TEST(CenterDialogTest, CentresATopLevelWindowWithoutOwnerOnTheWorkArea)
{
    TestWindow window(Around(5, 5, 400, 300));
    ASSERT_TRUE(window);
    const RECT area = WorkArea();
    EXPECT_TRUE(CenterDialog(window));
    const POINT expected = CenteredPosition(400, 300, area, area);
    ExpectAt(TopLeft(window), expected.x, expected.y);
    EXPECT_EQ(Width(WindowRect(window)), 400);
    EXPECT_EQ(Height(WindowRect(window)), 300);

    // Already in place: moved again to the same place.
    EXPECT_TRUE(CenterDialog(window));
    ExpectAt(TopLeft(window), expected.x, expected.y);
}

TEST(CenterDialogTest, CentresOnAVisibleOwnerAndClampsToTheWorkArea)
{
    const RECT area = WorkArea();
    // An owner near the lower right corner: the owned window would stick out.
    TestWindow owner(Around(area.right - 124, area.bottom - 168, 100, 160));
    TestWindow owned(Around(0, 0, 400, 200), WS_POPUP | WS_VISIBLE, owner);
    ASSERT_TRUE(owner);
    ASSERT_TRUE(owned);
    ASSERT_EQ(GetWindow(owned, GW_OWNER), HWND(owner));

    CenterDialog(owned);
    const POINT expected = CenteredPosition(400, 200, WindowRect(owner), area);
    ExpectAt(TopLeft(owned), expected.x, expected.y);
    EXPECT_EQ(expected.x, area.right - 400);
    EXPECT_EQ(expected.y, area.bottom - 200);

    // An owner well inside the area: the centres coincide exactly.
    SetWindowPos(owner, nullptr, area.left + 200, area.top + 150, 300, 260, SWP_NOZORDER | SWP_NOACTIVATE);
    CenterDialog(owned);
    const RECT ownerRect = WindowRect(owner);
    const RECT ownedRect = WindowRect(owned);
    EXPECT_EQ((ownedRect.left + ownedRect.right) / 2, (ownerRect.left + ownerRect.right) / 2);
    EXPECT_EQ((ownedRect.top + ownedRect.bottom) / 2, (ownerRect.top + ownerRect.bottom) / 2);
}

TEST(CenterDialogTest, IgnoresAHiddenOwner)
{
    const RECT area = WorkArea();
    TestWindow owner(Around(area.left + 10, area.top + 10, 100, 100), WS_POPUP);
    TestWindow owned(Around(0, 0, 300, 100), WS_POPUP | WS_VISIBLE, owner);
    ASSERT_FALSE(IsWindowVisible(owner));

    CenterDialog(owned);
    const POINT onArea = CenteredPosition(300, 100, area, area);
    ExpectAt(TopLeft(owned), onArea.x, onArea.y);

    // The same when the hidden window is given as the reference.
    SetWindowPos(owned, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterDialog(owned, owner);
    ExpectAt(TopLeft(owned), onArea.x, onArea.y);
}

TEST(CenterDialogTest, IgnoresAMinimisedOwner)
{
    const RECT area = WorkArea();
    TestWindow owner(Around(area.left + 10, area.top + 10, 200, 150), WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX);
    TestWindow owned(Around(0, 0, 300, 100), WS_POPUP | WS_VISIBLE, owner);
    ShowWindow(owner, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(owner));
    ASSERT_TRUE(GetWindowLongA(owner, GWL_STYLE) & WS_VISIBLE);

    CenterDialog(owned);
    const POINT onArea = CenteredPosition(300, 100, area, area);
    ExpectAt(TopLeft(owned), onArea.x, onArea.y);
}

TEST(CenterDialogTest, IgnoresAReferenceThatIsNoLongerAWindow)
{
    HWND gone;
    {
        TestWindow reference(Around(0, 0, 50, 50));
        gone = reference;
    }
    ASSERT_FALSE(IsWindow(gone));
    TestWindow window(Around(3, 3, 250, 120));
    const RECT area = WorkArea();
    CenterDialog(window, gone);
    const POINT onArea = CenteredPosition(250, 120, area, area);
    ExpectAt(TopLeft(window), onArea.x, onArea.y);
}

TEST(CenterDialogTest, CentresAChildInItsParentsClientArea)
{
    // A framed parent so that its client origin differs from its window origin.
    TestWindow parent(Around(150, 120, 500, 400), WS_POPUP | WS_VISIBLE | WS_DLGFRAME);
    POINT clientOrigin = {0, 0};
    ClientToScreen(parent, &clientOrigin);
    ASSERT_GT(clientOrigin.x, WindowRect(parent).left);
    TestWindow child(Around(0, 0, 120, 80), WS_CHILD | WS_VISIBLE | WS_BORDER, parent);
    ASSERT_TRUE(child);
    RECT client = {};
    GetClientRect(parent, &client);

    EXPECT_TRUE(CenterDialog(child));
    RECT placed = WindowRect(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
    const POINT expected = CenteredPosition(120, 80, client, client);
    ExpectAt(POINT{placed.left, placed.top}, expected.x, expected.y);
    EXPECT_EQ(placed.left, client.right / 2 - 60);
    EXPECT_EQ(placed.top, client.bottom / 2 - 40);
}

TEST(CenterDialogTest, ClampsAChildToItsParentsClientArea)
{
    TestWindow parent(Around(150, 120, 500, 400), WS_POPUP | WS_VISIBLE | WS_DLGFRAME);
    RECT client = {};
    GetClientRect(parent, &client);
    // A sibling reference in the lower right corner of the client area; the
    // child would stick out past the right and bottom edges.
    TestWindow reference(Around(client.right - 40, client.bottom - 30, 40, 30), WS_CHILD | WS_VISIBLE, parent);
    TestWindow child(Around(0, 0, 200, 100), WS_CHILD | WS_VISIBLE, parent);

    CenterDialog(child, reference);
    RECT placed = WindowRect(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, client.right - 200);
    EXPECT_EQ(placed.top, client.bottom - 100);

    // Bigger than the client area: its left and top edges stay on the
    // parent's client origin, whatever the work area is.
    TestWindow big(Around(0, 0, 900, 700), WS_CHILD | WS_VISIBLE, parent);
    CenterDialog(big);
    RECT bigPlaced = WindowRect(big);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bigPlaced), 2);
    EXPECT_EQ(bigPlaced.left, 0);
    EXPECT_EQ(bigPlaced.top, 0);
}

}  // namespace
