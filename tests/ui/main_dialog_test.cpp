// The main dialog made as the run sequence makes it: placement, icons, its
// part in the loop, the keyboard interface through its filter, the routing
// table's conditions and closing.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/center.h"
#include "tests/support/dialog_test_support.h"

using dialog_test::Height;
using dialog_test::ModalBoxWatcher;
using dialog_test::PumpMessages;
using dialog_test::RunningMainDialog;
using dialog_test::TakeQuitCode;
using dialog_test::Width;
using dialog_test::WindowRect;
using dialog_test::WorkArea;

namespace {

TEST(MainDialogTest, IsCreatedHiddenAndCentredOnTheWorkArea)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    EXPECT_EQ(main.dialog.window, main.window);
    EXPECT_FALSE(IsWindowVisible(main.window));
    EXPECT_EQ(GetWindow(main.window, GW_OWNER), nullptr);

    const RECT rect = WindowRect(main.window);
    const RECT area = WorkArea();
    const POINT expected = CenteredPosition(Width(rect), Height(rect), area, area);
    EXPECT_EQ(rect.left, expected.x);
    EXPECT_EQ(rect.top, expected.y);
}

TEST(MainDialogTest, SetsBothIconsAndJoinsTheLoop)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    EXPECT_NE(SendMessageA(main.window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(main.window, WM_GETICON, ICON_SMALL, 0), 0);

    ASSERT_EQ(main.loop.filters.count, 1);
    EXPECT_EQ(main.loop.filters[0], static_cast<MessageFilter*>(&main.dialog));
    ASSERT_EQ(main.loop.idleHandlers.count, 1);
    EXPECT_EQ(main.loop.idleHandlers[0], static_cast<IdleHandler*>(&main.dialog));
    EXPECT_FALSE(main.dialog.DoIdle());

    EXPECT_EQ(main.dialog.owner, main.window);
    EXPECT_EQ(main.dialog.selected, nullptr);
    EXPECT_EQ(main.dialog.current, nullptr);
    EXPECT_EQ(main.dialog.highlighted, nullptr);
}

TEST(MainDialogTest, WithoutALoopForTheThreadStillComesUp)
{
    MainDialog dialog;
    HWND window = dialog.CreateModeless(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_MAIN));
    ASSERT_TRUE(window);
    EXPECT_EQ(dialog.owner, window);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
    DestroyWindow(window);
    EXPECT_EQ(dialog.window, nullptr);
}

TEST(MainDialogTest, FocusStartsInTheWindowTextBox)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    EXPECT_EQ(GetFocus(), main.Item(IDC_WINDOW_TEXT));
    main.Show();
    EXPECT_EQ(GetFocus(), main.Item(IDC_WINDOW_TEXT));
}

TEST(MainDialogTest, TabAndShiftTabWalkTheTabStopsInTemplateOrder)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    main.Show();
    const int order[] = {IDC_WINDOW_TEXT, IDC_CONTENTS, IDC_GET_COUNT, IDC_GET_CONTENTS,
                         IDC_CLIPBOARD,   IDC_CLEAR,    IDC_ABOUT,     IDC_WINDOW_TEXT};
    ASSERT_EQ(GetFocus(), main.Item(order[0]));
    for (size_t i = 1; i < sizeof(order) / sizeof(order[0]); ++i) {
        EXPECT_TRUE(main.FilterKey(VK_TAB));
        PumpMessages(&main.loop, 0);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[i]) << "after Tab number " << i;
    }

    // Shift held in the thread's key state walks backwards.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE shiftWas = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    for (size_t i = sizeof(order) / sizeof(order[0]) - 1; i > 0; --i) {
        EXPECT_TRUE(main.FilterKey(VK_TAB));
        PumpMessages(&main.loop, 0);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[i - 1]) << "after Shift+Tab towards " << i - 1;
    }
    keys[VK_SHIFT] = shiftWas;
    SetKeyboardState(keys);

    // Nothing typed into the boxes on the way.
    EXPECT_EQ(GetWindowTextLengthA(main.Item(IDC_CONTENTS)), 0);
    EXPECT_EQ(GetWindowTextLengthA(main.Item(IDC_WINDOW_TEXT)), 0);
}

// Moves the focus as Tab does, so that a focused push button becomes the
// dialog's default button for Enter.
void FocusByTab(RunningMainDialog& main, int id)
{
    for (int steps = 0; steps < 10 && GetDlgCtrlID(GetFocus()) != id; ++steps) {
        main.FilterKey(VK_TAB);
        PumpMessages(&main.loop, 0);
    }
}

TEST(MainDialogTest, EnterOnAFocusedPushButtonRunsIt)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    main.Show();
    SetDlgItemTextA(main.window, IDC_CONTENTS, "to be cleared");
    FocusByTab(main, IDC_CLEAR);
    ASSERT_EQ(GetFocus(), main.Item(IDC_CLEAR));
    EXPECT_TRUE(main.FilterKey(VK_RETURN));
    PumpMessages(&main.loop);
    EXPECT_EQ(GetWindowTextLengthA(main.Item(IDC_CONTENTS)), 0);

    FocusByTab(main, IDC_ABOUT);
    ASSERT_EQ(GetFocus(), main.Item(IDC_ABOUT));
    ModalBoxWatcher watcher("About", [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_TRUE(main.FilterKey(VK_RETURN));
    EXPECT_EQ(watcher.actions, 1);
    EXPECT_FALSE(watcher.forcedClose);
    EXPECT_TRUE(IsWindow(main.window));
}

TEST(MainDialogTest, EnterInAnEditBoxDoesNothing)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    main.Show();
    SetDlgItemTextA(main.window, IDC_WINDOW_TEXT, "typed");
    SetDlgItemTextA(main.window, IDC_CONTENTS, "first\r\nsecond");
    const RECT before = WindowRect(main.window);

    ModalBoxWatcher watcher("About", [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    for (int id : {IDC_WINDOW_TEXT, IDC_CONTENTS}) {
        FocusByTab(main, id);
        ASSERT_EQ(GetFocus(), main.Item(id));
        main.FilterKey(VK_RETURN);
        PumpMessages(&main.loop);
        EXPECT_EQ(GetFocus(), main.Item(id));
    }
    char text[64] = {};
    GetDlgItemTextA(main.window, IDC_WINDOW_TEXT, text, sizeof(text));
    EXPECT_STREQ(text, "typed");
    GetDlgItemTextA(main.window, IDC_CONTENTS, text, sizeof(text));
    EXPECT_STREQ(text, "first\r\nsecond");
    EXPECT_TRUE(IsWindowVisible(main.window));
    const RECT after = WindowRect(main.window);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(watcher.actions, 0);
    EXPECT_EQ(TakeQuitCode(), -1);
}

// The routing table asked directly: handled or not, and the value written.
struct Routed {
    BOOL handled;
    LRESULT result;
};

Routed Route(MainDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam = 0, DWORD selector = 0)
{
    LRESULT result = 0x5A5A;
    const BOOL handled = dialog.HandleMessage(dialog.window, message, wParam, lParam, result, selector);
    return Routed{handled, result};
}

TEST(MainDialogRoutingTest, ButtonCommandsAnswerOnlyToClicks)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    for (int id : {IDC_GET_COUNT, IDC_GET_CONTENTS, IDC_CLIPBOARD, IDC_CLEAR}) {
        for (WORD code : {WORD(1), WORD(EN_CHANGE), WORD(BN_DOUBLECLICKED), WORD(0xFFFF)}) {
            const Routed routed = Route(main.dialog, WM_COMMAND, MAKEWPARAM(id, code));
            EXPECT_FALSE(routed.handled) << id << " with code " << code;
            EXPECT_EQ(routed.result, 0x5A5A) << "result written for " << id;
        }
    }
    const Routed clear = Route(main.dialog, WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED));
    EXPECT_TRUE(clear.handled);
    EXPECT_EQ(clear.result, 0);
}

TEST(MainDialogRoutingTest, IgnoresOkOtherIdsAndOtherSelectors)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    for (WPARAM wParam : {WPARAM(IDOK), MAKEWPARAM(IDOK, 1), WPARAM(IDC_WINDOW_TEXT), WPARAM(IDC_CONTENTS),
                          WPARAM(IDC_LIST_COUNT), WPARAM(IDC_WINDOW_HANDLE), WPARAM(3), WPARAM(0xE141)}) {
        const Routed routed = Route(main.dialog, WM_COMMAND, wParam);
        EXPECT_FALSE(routed.handled) << wParam;
        EXPECT_EQ(routed.result, 0x5A5A);
    }
    for (UINT message : {UINT(WM_COMMAND), UINT(WM_INITDIALOG), UINT(WM_MOUSEMOVE), UINT(WM_LBUTTONDOWN)}) {
        const Routed routed = Route(main.dialog, message, IDCANCEL, 0, 1);
        EXPECT_FALSE(routed.handled) << message;
        EXPECT_EQ(routed.result, 0x5A5A);
    }
    EXPECT_TRUE(IsWindow(main.window));
    EXPECT_FALSE(Route(main.dialog, WM_RBUTTONDOWN, 0).handled);
    EXPECT_FALSE(Route(main.dialog, WM_CLOSE, 0).handled);
    EXPECT_EQ(TakeQuitCode(), -1);
}

TEST(MainDialogRoutingTest, GetContentsWithANotificationCodeDoesNothing)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    SetDlgItemTextA(main.window, IDC_CONTENTS, "kept");
    SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDC_GET_CONTENTS, 1), 0);
    SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDC_CLEAR, EN_SETFOCUS), 0);
    char text[16] = {};
    GetDlgItemTextA(main.window, IDC_CONTENTS, text, sizeof(text));
    EXPECT_STREQ(text, "kept");
}

TEST(MainDialogRoutingTest, AboutOpensForAClickAndForAnAccelerator)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    for (WORD code : {WORD(BN_CLICKED), WORD(1)}) {
        ModalBoxWatcher watcher("About", [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
        SetWindowLongPtrA(main.window, DWLP_MSGRESULT, 77);
        const LRESULT answer = SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, code), 0);
        EXPECT_EQ(watcher.actions, 1) << "code " << code;
        EXPECT_FALSE(watcher.forcedClose);
        EXPECT_EQ(answer, 0);
        EXPECT_EQ(GetWindowLongPtrA(main.window, DWLP_MSGRESULT), 0);
    }
    EXPECT_TRUE(IsWindow(main.window));
}

TEST(MainDialogCloseTest, CancelDestroysTheWindowAndPostsQuitTwo)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    // Any notification code: the system's close paths send 0, an accelerator 1.
    SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 1), 0);
    EXPECT_FALSE(IsWindow(main.window));
    EXPECT_EQ(main.dialog.window, nullptr);
    EXPECT_EQ(TakeQuitCode(), 2);
}

TEST(MainDialogCloseTest, EscapeThroughTheFilterCloses)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    EXPECT_TRUE(main.FilterKey(VK_ESCAPE));
    EXPECT_FALSE(IsWindow(main.window));
    EXPECT_EQ(TakeQuitCode(), 2);
}

TEST(MainDialogCloseTest, TheCloseBoxAndAltF4Close)
{
    for (UINT route : {UINT(WM_CLOSE), UINT(WM_SYSCOMMAND)}) {
        RunningMainDialog main;
        ASSERT_TRUE(main.window);
            // The dialog manager posts the IDCANCEL it makes of a close.
        if (route == WM_CLOSE)
            SendMessageA(main.window, WM_CLOSE, 0, 0);
        else
            SendMessageA(main.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpMessages(&main.loop);
        EXPECT_FALSE(IsWindow(main.window)) << route;
        EXPECT_EQ(TakeQuitCode(), 2) << route;
    }
}

TEST(MainDialogCloseTest, TheLoopEndsWithTheQuitCode)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    // Should the filter miss Escape, the loop still ends, with another code.
    dialog_test::TestWindow timer(RECT{0, 0, 1, 1}, WS_POPUP);
    timer.OnMessage([](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_TIMER)
            PostQuitMessage(99);
        return message == WM_TIMER;
    });
    SetTimer(timer, 1, 3000, nullptr);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    // Escape reaches the dialog only through the loop's filter.
    EXPECT_EQ(main.loop.RunLoop(), 2);
    EXPECT_FALSE(IsWindow(main.window));
}

}  // namespace
