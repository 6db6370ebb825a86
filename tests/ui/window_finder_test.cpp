// The window finder driven by the owner's own mouse messages over windows at
// known screen places. The outline is checked on the screen itself: the test
// windows are white, so an inverted band reads black.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "ui/window_finder.h"
#include "tests/support/dialog_test_support.h"

using dialog_test::Height;
using dialog_test::PumpMessages;
using dialog_test::RunningMainDialog;
using dialog_test::TestWindow;
using dialog_test::Width;
using dialog_test::WindowRect;

namespace {

class RecordingFinder final : public WindowFinder {
public:
    std::vector<HWND> picks;
    std::vector<HWND> captureAtPick;

    void OnWindowSelected(HWND window) override
    {
        picks.push_back(window);
        captureAtPick.push_back(GetCapture());
    }
};

// The screen as the user sees it, at a place of the window.
COLORREF PixelAt(HWND window, int x, int y)
{
    const RECT rect = WindowRect(window);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, rect.left + x, rect.top + y);
    ReleaseDC(nullptr, screen);
    return colour;
}

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

enum class Outline { None, Drawn, Broken };

// Reads the band along each edge (its outermost and innermost pixel) and the
// first pixel inside it. The band is three pixels wide at this display's scale.
Outline ReadOutline(HWND window)
{
    const RECT rect = WindowRect(window);
    const int width = Width(rect);
    const int height = Height(rect);
    const int band = 3;
    const POINT banded[] = {{0, height / 2},         {band - 1, height / 2}, {width - 1, height / 2},
                            {width - band, height / 2}, {width / 2, 0},         {width / 2, band - 1},
                            {width / 2, height - 1},  {width / 2, height - band}};
    const POINT clear[] = {{band, height / 2}, {width - band - 1, height / 2}, {width / 2, band},
                           {width / 2, height / 2}};
    int black = 0;
    for (const POINT& point : banded)
        black += PixelAt(window, point.x, point.y) == kBlack;
    for (const POINT& point : clear) {
        if (PixelAt(window, point.x, point.y) != kWhite)
            return Outline::Broken;
    }
    if (black == 0)
        return Outline::None;
    return black == int(sizeof(banded) / sizeof(banded[0])) ? Outline::Drawn : Outline::Broken;
}

// Waits up to three seconds for the condition, handling paint, timer and sent
// messages meanwhile but no input, which would move the finder's cursor: the
// outline follows its window on a timer, and the windows beneath an outline
// that went repaint in their own time.
template <typename Condition>
bool Within3Seconds(Condition condition)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 3000)
            return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE))
            DispatchMessageA(&message);
        Sleep(10);
    }
    return true;
}

Outline OutlineOf(HWND window, Outline expected)
{
    Within3Seconds([&] { return ReadOutline(window) == expected; });
    return ReadOutline(window);
}

const char* Name(Outline outline)
{
    switch (outline) {
    case Outline::None:
        return "none";
    case Outline::Drawn:
        return "drawn";
    default:
        return "broken";
    }
}

#define EXPECT_OUTLINE(window, expected) EXPECT_STREQ(Name(OutlineOf(window, expected)), Name(expected))

// Two white windows A and B side by side, and the owner below and right of
// both, so that positions over A and B are negative in the owner's client
// coordinates.
class WindowFinderTest : public testing::Test {
protected:
    RecordingFinder finder;  // outlives the owner that calls it
    TestWindow a{RECT{100, 100, 300, 250}, WS_POPUP | WS_VISIBLE, nullptr, "A"};
    TestWindow b{RECT{400, 100, 600, 250}, WS_POPUP | WS_VISIBLE, nullptr, "B"};
    TestWindow owner{RECT{650, 400, 950, 600}, WS_POPUP | WS_VISIBLE, nullptr, "owner"};

    void SetUp() override
    {
        ASSERT_TRUE(a && b && owner);
        finder.SetOwner(owner);
        owner.OnMessage([this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
            result = 0;
            switch (message) {
            case WM_LBUTTONDOWN:
                finder.OnButtonDown();
                return true;
            case WM_MOUSEMOVE:
                finder.OnMouseMove(lParam);
                return true;
            case WM_LBUTTONUP:
                finder.OnButtonUp();
                return true;
            case WM_CAPTURECHANGED:
                finder.OnCaptureLost();
                return true;
            default:
                return false;
            }
        });
        PumpMessages(nullptr, 100);
        ASSERT_STREQ(Name(ReadOutline(a)), "none");
        ASSERT_STREQ(Name(ReadOutline(b)), "none");
    }

    void TearDown() override
    {
        if (GetCapture())
            ReleaseCapture();
    }

    // The owner's client coordinates of a screen position, packed as the
    // mouse messages pack them.
    LPARAM At(LONG x, LONG y) const
    {
        POINT point = {x, y};
        ScreenToClient(owner, &point);
        return MAKELPARAM(WORD(SHORT(point.x)), WORD(SHORT(point.y)));
    }
    LPARAM Inside(HWND window, LONG dx = 0, LONG dy = 0) const
    {
        const RECT rect = WindowRect(window);
        return At((rect.left + rect.right) / 2 + dx, (rect.top + rect.bottom) / 2 + dy);
    }

    void Down() { SendMessageA(owner, WM_LBUTTONDOWN, MK_LBUTTON, 0); }
    void Move(LPARAM position, WPARAM keys = MK_LBUTTON) { SendMessageA(owner, WM_MOUSEMOVE, keys, position); }
    void Up() { SendMessageA(owner, WM_LBUTTONUP, 0, 0); }
};

HCURSOR SystemCursor(LPCSTR id)
{
    return LoadCursorA(nullptr, id);
}

TEST_F(WindowFinderTest, DragFromAToBPicksBOnce)
{
    Down();
    EXPECT_EQ(GetCapture(), HWND(owner));
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_SIZEALL));

    Move(Inside(a));
    EXPECT_EQ(finder.current, HWND(a));
    EXPECT_EQ(finder.highlighted, HWND(a));
    EXPECT_OUTLINE(a, Outline::Drawn);
    EXPECT_OUTLINE(b, Outline::None);

    SetCursor(SystemCursor(IDC_IBEAM));
    Move(Inside(b));
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_SIZEALL)) << "set again on every captured move";
    EXPECT_EQ(finder.current, HWND(b));
    EXPECT_EQ(finder.highlighted, HWND(b));
    EXPECT_OUTLINE(a, Outline::None);
    EXPECT_OUTLINE(b, Outline::Drawn);
    EXPECT_TRUE(finder.picks.empty());

    Up();
    ASSERT_EQ(finder.picks.size(), 1u);
    EXPECT_EQ(finder.picks[0], HWND(b));
    EXPECT_EQ(finder.captureAtPick[0], HWND(owner)) << "told before the capture goes";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(finder.selected, HWND(b));
    EXPECT_EQ(finder.current, nullptr);
    EXPECT_EQ(finder.highlighted, nullptr);
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_ARROW));

    EXPECT_OUTLINE(b, Outline::None);
    EXPECT_OUTLINE(a, Outline::None);
}

TEST_F(WindowFinderTest, MovesWithinOneWindowOutlineItOnce)
{
    Down();
    const LONG offsets[][2] = {{0, 0}, {5, 3}, {-40, 20}, {60, -30}, {1, 1}};
    for (const auto& offset : offsets) {
        Move(Inside(a, offset[0], offset[1]));
        EXPECT_EQ(finder.current, HWND(a));
        EXPECT_OUTLINE(a, Outline::Drawn);
    }
    Up();
    ASSERT_EQ(finder.picks.size(), 1u);
    EXPECT_EQ(finder.picks[0], HWND(a));
    EXPECT_EQ(finder.selected, HWND(a));
}

TEST_F(WindowFinderTest, ReleaseWithoutMovingKeepsTracking)
{
    Down();
    Up();
    EXPECT_TRUE(finder.picks.empty());
    EXPECT_EQ(GetCapture(), HWND(owner));
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_ARROW));
    EXPECT_EQ(finder.selected, nullptr);

    // The button is up, but the moves are still the finder's.
    Move(Inside(a), 0);
    EXPECT_EQ(finder.highlighted, HWND(a));
    EXPECT_OUTLINE(a, Outline::Drawn);
    Move(Inside(b), 0);
    EXPECT_OUTLINE(a, Outline::None);
    EXPECT_OUTLINE(b, Outline::Drawn);

    Up();
    ASSERT_EQ(finder.picks.size(), 1u);
    EXPECT_EQ(finder.picks[0], HWND(b));
    EXPECT_EQ(GetCapture(), nullptr);

    // A second release finds nothing to pick.
    Up();
    EXPECT_EQ(finder.picks.size(), 1u);
    EXPECT_EQ(finder.selected, HWND(b));
}

TEST_F(WindowFinderTest, MovesWithoutTheCaptureChangeNothing)
{
    ASSERT_EQ(GetCapture(), nullptr);
    SetCursor(SystemCursor(IDC_IBEAM));
    Move(Inside(a));
    EXPECT_EQ(finder.current, nullptr);
    EXPECT_EQ(finder.highlighted, nullptr);
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_IBEAM));
    EXPECT_OUTLINE(a, Outline::None);
    Up();
    EXPECT_TRUE(finder.picks.empty());

    // After a completed pick the moves are ignored again.
    Down();
    Move(Inside(a));
    Up();
    PumpMessages(nullptr, 100);
    SetCursor(SystemCursor(IDC_IBEAM));
    Move(Inside(b));
    EXPECT_EQ(finder.current, nullptr);
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_IBEAM));
    EXPECT_OUTLINE(b, Outline::None);
}

// Alt+Tab or a window popping up takes the capture mid-drag: the outline must
// not stay behind on the screen, and the drag picks nothing.
TEST_F(WindowFinderTest, LosingTheCaptureErasesTheOutlineAndEndsTheDrag)
{
    Down();
    Move(Inside(a));
    EXPECT_OUTLINE(a, Outline::Drawn);
    SetCapture(b);
    ReleaseCapture();
    Move(Inside(b));
    Up();
    EXPECT_EQ(finder.current, nullptr);
    EXPECT_EQ(finder.highlighted, nullptr);
    EXPECT_TRUE(finder.picks.empty());
    EXPECT_OUTLINE(a, Outline::None);
    EXPECT_OUTLINE(b, Outline::None);

    Down();
    Move(Inside(b));
    EXPECT_OUTLINE(a, Outline::None);
    EXPECT_OUTLINE(b, Outline::Drawn);
    Up();
    ASSERT_EQ(finder.picks.size(), 1u);
    EXPECT_EQ(finder.picks[0], HWND(b));
}

TEST_F(WindowFinderTest, NegativeClientCoordinatesReachTheRightScreenPlace)
{
    const LPARAM overA = Inside(a);
    ASSERT_LT(SHORT(LOWORD(overA)), 0);
    ASSERT_LT(SHORT(HIWORD(overA)), 0);
    const LPARAM overB = Inside(b);
    ASSERT_LT(SHORT(HIWORD(overB)), 0);

    Down();
    Move(overB);
    EXPECT_EQ(finder.current, HWND(b));
    Move(overA);
    EXPECT_EQ(finder.current, HWND(a));
    // Positive coordinates, for comparison: the owner itself.
    Move(Inside(owner));
    EXPECT_EQ(finder.current, HWND(owner));
    Move(overA);
    Up();
    ASSERT_EQ(finder.picks.size(), 1u);
    EXPECT_EQ(finder.picks[0], HWND(a));
}

BOOL CALLBACK CountOutlinePiece(HWND window, LPARAM count)
{
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_EXSTYLE);
    if (IsWindowVisible(window) && (style & WS_EX_LAYERED) && (style & WS_EX_TRANSPARENT))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The pieces of outline the user can see: this thread's visible layered,
// click-through windows.
int VisibleOutlinePieces()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountOutlinePiece, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool OutlineGoneWithin3Seconds()
{
    return Within3Seconds([] { return VisibleOutlinePieces() == 0; });
}

TEST_F(WindowFinderTest, TheOutlineInvertsTheWholeWindowAndLeavesNothingBehind)
{
    TestWindow framed(RECT{150, 300, 450, 500}, WS_POPUP | WS_VISIBLE | WS_DLGFRAME, nullptr, "framed");
    PumpMessages(nullptr, 100);
    const RECT rect = WindowRect(framed);
    RECT client = {};
    GetClientRect(framed, &client);
    ASSERT_LT(Width(client), Width(rect)) << "a window with a non-client frame";
    // The middle of each outer edge, on the frame beyond the client area.
    const POINT edges[] = {{Width(rect) / 2, 0}, {Width(rect) - 1, Height(rect) / 2},
                           {Width(rect) / 2, Height(rect) - 1}, {0, Height(rect) / 2}};
    COLORREF before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = PixelAt(framed, edges[i].x, edges[i].y);

    const auto edgesAre = [&](COLORREF flip) {
        return Within3Seconds([&] {
            for (int i = 0; i < 4; ++i) {
                if (PixelAt(framed, edges[i].x, edges[i].y) != (before[i] ^ flip))
                    return false;
            }
            return true;
        });
    };
    finder.outline.Show(framed);
    EXPECT_TRUE(edgesAre(0xFFFFFF)) << "inverted";
    finder.outline.Hide();
    EXPECT_TRUE(edgesAre(0)) << "restored";
}

// The window under the finder moves, hides or closes while the user holds
// still: the outline goes with it, or goes.
TEST_F(WindowFinderTest, TheOutlineFollowsItsWindowAndLeavesWithIt)
{
    Down();
    Move(Inside(a));
    EXPECT_OUTLINE(a, Outline::Drawn);
    SetWindowPos(a, nullptr, 120, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_OUTLINE(a, Outline::Drawn);
    ShowWindow(a, SW_HIDE);
    EXPECT_TRUE(OutlineGoneWithin3Seconds());
    SetWindowPos(a, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_OUTLINE(a, Outline::Drawn);
    DestroyWindow(a);
    EXPECT_TRUE(OutlineGoneWithin3Seconds());
    EXPECT_EQ(GetCapture(), HWND(owner)) << "the drag goes on";
}

TEST_F(WindowFinderTest, OutliningGivesBackItsDrawingObjects)
{
    // Outlined from one window to the other, the windows beneath repainted
    // in between as they would be between two mouse moves.
    const auto outlineRounds = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            finder.outline.Show(i % 2 ? b : a);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
                DispatchMessageA(&message);
        }
    };
    // Wine keeps no count (0): there the rounds only show that the outline
    // still works after them.
    const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    outlineRounds(300);
    finder.outline.Hide();
    EXPECT_OUTLINE(a, Outline::None);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objectsBefore);
    finder.outline.Show(a);
    EXPECT_OUTLINE(a, Outline::Drawn);
}

// Through the main dialog: its routing table hands the owner's mouse
// messages to the finder, and the dialog and its controls can be picked.
LPARAM DialogPoint(HWND dialog, HWND control, LONG dx, LONG dy)
{
    RECT rect = WindowRect(control);
    POINT point = {(rect.left + rect.right) / 2 + dx, (rect.top + rect.bottom) / 2 + dy};
    ScreenToClient(dialog, &point);
    return MAKELPARAM(WORD(SHORT(point.x)), WORD(SHORT(point.y)));
}

HWND PickWithDialog(RunningMainDialog& main, LPARAM position)
{
    SendMessageA(main.window, WM_LBUTTONDOWN, MK_LBUTTON, position);
    SendMessageA(main.window, WM_MOUSEMOVE, MK_LBUTTON, position);
    SendMessageA(main.window, WM_LBUTTONUP, 0, position);
    return main.dialog.selected;
}

TEST(MainDialogFinderTest, PicksTheDialogItsControlsAndOtherWindows)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    main.Show();
    TestWindow other(RECT{20, 20, 120, 80}, WS_POPUP | WS_VISIBLE, nullptr, "other");
    PumpMessages(&main.loop, 100);

    HWND contents = main.Item(IDC_CONTENTS);
    EXPECT_EQ(PickWithDialog(main, DialogPoint(main.window, contents, 0, 0)), contents);
    EXPECT_EQ(GetCapture(), nullptr);
    HWND about = main.Item(IDC_ABOUT);
    EXPECT_EQ(PickWithDialog(main, DialogPoint(main.window, about, 0, 0)), about);
    // Between the contents box and the buttons lies the dialog itself.
    RECT gap = {259, 150, 260, 151};
    MapDialogRect(main.window, &gap);
    EXPECT_EQ(PickWithDialog(main, MAKELPARAM(gap.left, gap.top)), main.window);
    // A window above and left of the dialog: negative coordinates.
    EXPECT_EQ(PickWithDialog(main, DialogPoint(main.window, other, 0, 0)), HWND(other));

    // The handlers answer 0 through the message result.
    SetWindowLongPtrA(main.window, DWLP_MSGRESULT, 55);
    EXPECT_EQ(SendMessageA(main.window, WM_LBUTTONDOWN, MK_LBUTTON, 0), 0);
    EXPECT_EQ(GetCapture(), main.window);
    EXPECT_EQ(GetWindowLongPtrA(main.window, DWLP_MSGRESULT), 0);
    ReleaseCapture();
    PumpMessages(&main.loop, 100);
}

}  // namespace
