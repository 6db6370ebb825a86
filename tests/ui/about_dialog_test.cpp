// The About box: opened from the main dialog, centred on its owner or on the
// work area, closed each way, and leaving the create-record list as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/about_dialog.h"
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

// What the box looked like while it was up.
struct Seen {
    RECT box = {};
    RECT owner = {};
    HWND ownerWindow = nullptr;
    HWND parent = nullptr;
    bool ownerEnabled = true;
    HWND focus = nullptr;
    HWND okButton = nullptr;
    CreateRecord* records = nullptr;
};

Seen Observe(HWND box)
{
    Seen seen;
    seen.box = WindowRect(box);
    seen.ownerWindow = GetWindow(box, GW_OWNER);
    seen.parent = GetParent(box);
    if (seen.ownerWindow) {
        seen.owner = WindowRect(seen.ownerWindow);
        seen.ownerEnabled = IsWindowEnabled(seen.ownerWindow) != FALSE;
    }
    seen.focus = GetFocus();
    seen.okButton = GetDlgItem(box, IDOK);
    seen.records = appModule.createRecordList;
    return seen;
}

void ExpectCentredOn(const Seen& seen, const RECT& centre)
{
    const RECT area = WorkArea();
    const POINT expected = CenteredPosition(Width(seen.box), Height(seen.box), centre, area);
    EXPECT_EQ(seen.box.left, expected.x);
    EXPECT_EQ(seen.box.top, expected.y);
}

// Opens the box with the main dialog's About command and runs the closing
// action on it from inside the modal loop.
Seen OpenFromMain(RunningMainDialog& main, ModalBoxWatcher::Action close,
                  ModalBoxWatcher::When when = ModalBoxWatcher::When::Made)
{
    Seen seen;
    ModalBoxWatcher watcher(
        "About",
        [&](HWND box) {
            seen = Observe(box);
            close(box);
        },
        when);
    const LRESULT answer = SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), 0);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(watcher.actions, 1);
    EXPECT_FALSE(watcher.forcedClose);
    EXPECT_FALSE(IsWindow(watcher.box));
    return seen;
}

TEST(AboutDialogTest, OpensOwnedByTheMainDialogAndCentredOnIt)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    main.Show();
    ASSERT_EQ(GetActiveWindow(), main.window);

    const Seen seen = OpenFromMain(
        main, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }, ModalBoxWatcher::When::Shown);
    EXPECT_EQ(seen.ownerWindow, main.window);
    EXPECT_EQ(seen.parent, main.window);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_EQ(seen.focus, seen.okButton);
    ExpectCentredOn(seen, WindowRect(main.window));
    // The box is smaller than the dialog, which sits in the middle of the work
    // area: nothing is clamped and the centres coincide.
    EXPECT_EQ(seen.box.left, (seen.owner.left + seen.owner.right) / 2 - Width(seen.box) / 2);
    EXPECT_EQ(seen.box.top, (seen.owner.top + seen.owner.bottom) / 2 - Height(seen.box) / 2);

    EXPECT_TRUE(IsWindowEnabled(main.window));
    EXPECT_TRUE(IsWindow(main.window));
    EXPECT_EQ(TakeQuitCode(), -1);
}

TEST(AboutDialogTest, StaysInsideTheWorkAreaWhenTheDialogIsAtTheRightEdge)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    const RECT area = WorkArea();
    // The dialog's centre close to the right edge of the work area.
    SetWindowPos(main.window, nullptr, area.right - Width(WindowRect(main.window)) / 2 - 20, area.top + 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    main.Show();

    const Seen seen = OpenFromMain(main, [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
    ASSERT_EQ(seen.ownerWindow, main.window);
    ExpectCentredOn(seen, WindowRect(main.window));
    EXPECT_EQ(seen.box.right, area.right);
    // Vertically nothing sticks out: the centres stay on one line.
    EXPECT_EQ(seen.box.top, (seen.owner.top + seen.owner.bottom) / 2 - Height(seen.box) / 2);
}

TEST(AboutDialogTest, ClosesWithEveryKeyAndCommand)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    main.Show();
    const RECT before = WindowRect(main.window);
    SetDlgItemTextA(main.window, IDC_CONTENTS, "kept");

    const ModalBoxWatcher::Action closers[] = {
        [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); },
        [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); },
        [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); },
        [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); },
        [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); },
    };
    int index = 0;
    for (const auto& close : closers) {
        SCOPED_TRACE(index++);
        OpenFromMain(main, close);
        EXPECT_TRUE(IsWindowEnabled(main.window));
    }
    const RECT after = WindowRect(main.window);
    EXPECT_TRUE(EqualRect(&before, &after));
    char text[16] = {};
    GetDlgItemTextA(main.window, IDC_CONTENTS, text, sizeof(text));
    EXPECT_STREQ(text, "kept");
    EXPECT_EQ(TakeQuitCode(), -1);
}

TEST(AboutDialogTest, OpensWithoutOwnerWhenNoWindowIsActive)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    SetActiveWindow(nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);

    Seen seen;
    ModalBoxWatcher watcher("About", [&](HWND box) {
        seen = Observe(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    BOOL handled = TRUE;
    EXPECT_EQ(main.dialog.OnAbout(handled), 0);
    EXPECT_EQ(watcher.actions, 1);
    EXPECT_EQ(seen.ownerWindow, nullptr);
    EXPECT_EQ(seen.parent, nullptr);
    const RECT area = WorkArea();
    ExpectCentredOn(seen, area);
}

TEST(AboutDialogTest, RepeatedOpeningLeavesTheRecordListAsItWas)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    // Someone else's record waiting in the list must survive every opening.
    MainDialog bystander;
    appModule.RegisterCreateRecord(bystander.Record(), &bystander);
    CreateRecord* const before = appModule.createRecordList;
    CreateRecord* const beneath = before->next;
    ASSERT_EQ(before, bystander.Record());
    // The bystander belongs to another thread, or the box would take it.
    bystander.Record()->threadId = GetCurrentThreadId() + 1;

    for (int round = 0; round < 5; ++round) {
        const Seen seen = OpenFromMain(main, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
        EXPECT_EQ(seen.records, before) << "while open, round " << round;
        EXPECT_EQ(appModule.createRecordList, before) << "after round " << round;
        EXPECT_EQ(before->next, beneath);
    }
    appModule.UnlinkCreateRecord(bystander.Record());
}

TEST(AboutDialogTest, AFailedBoxLeavesNoRecordLinked)
{
    RunningMainDialog main;
    ASSERT_TRUE(main.window);
    // A module without template 100.
    HMODULE withoutTemplate = GetModuleHandleA("kernel32.dll");
    ASSERT_TRUE(withoutTemplate);
    ASSERT_EQ(FindResourceA(withoutTemplate, MAKEINTRESOURCEA(IDD_ABOUT), MAKEINTRESOURCEA(5)), nullptr);

    CreateRecord* const before = appModule.createRecordList;
    const HINSTANCE saved = appModule.resourceInstance;
    appModule.resourceInstance = withoutTemplate;
    BOOL handled = TRUE;
    const LRESULT result = main.dialog.OnAbout(handled);
    appModule.resourceInstance = saved;

    EXPECT_EQ(result, 0);
    EXPECT_EQ(appModule.createRecordList, before);
    EXPECT_EQ(dialog_test::FindThreadDialog("About"), nullptr);
}

// The About class on its own, through the same binding: its table's values
// reach EndDialog.
INT_PTR RunAboutBox(HWND owner, ModalBoxWatcher::Action action, int* actions = nullptr,
                    ModalBoxWatcher::When when = ModalBoxWatcher::When::Made)
{
    AboutDialog about;
    ModalBoxWatcher watcher("About", std::move(action), when);
    const INT_PTR result = about.RunModal(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_ABOUT), owner);
    EXPECT_EQ(about.window, nullptr);
    EXPECT_FALSE(watcher.forcedClose);
    if (actions)
        *actions = watcher.actions;
    return result;
}

TEST(AboutDialogTest, EndsWithTheIdOfTheCommand)
{
    EXPECT_EQ(RunAboutBox(nullptr, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }), IDOK);
    EXPECT_EQ(RunAboutBox(nullptr, [](HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0); }),
              IDOK);
    EXPECT_EQ(RunAboutBox(nullptr, [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); }), IDCANCEL);
    EXPECT_EQ(RunAboutBox(nullptr, [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); }), IDOK);
    EXPECT_EQ(RunAboutBox(nullptr, [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); }), IDCANCEL);
    EXPECT_EQ(RunAboutBox(nullptr, [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }), IDCANCEL);
}

TEST(AboutDialogTest, OtherCommandsLeaveTheBoxOpen)
{
    int actions = 0;
    bool stillOpen = false;
    const INT_PTR result = RunAboutBox(
        nullptr,
        [&](HWND box) {
            for (WPARAM id : {WPARAM(3), WPARAM(IDC_ABOUT), WPARAM(0xFFFF), WPARAM(IDC_GET_COUNT)})
                SendMessageA(box, WM_COMMAND, id, 0);
            stillOpen = IsWindowVisible(box) != FALSE;
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        },
        &actions, ModalBoxWatcher::When::Shown);
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDCANCEL);
}

TEST(AboutDialogTest, ShowsTheNameAndVersionInThreeLines)
{
    std::string text;
    RunAboutBox(nullptr, [&](HWND box) {
        // The static that is not the icon: the second control of the template.
        HWND label = GetWindow(GetDlgItem(box, IDOK), GW_HWNDNEXT);
        text = dialog_test::WindowText(label);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    const std::string first = "Quarvel Application v1.3\n\n";
    ASSERT_EQ(text.compare(0, first.size(), first), 0) << text;
    const std::string notice = text.substr(first.size());
    EXPECT_FALSE(notice.empty());
    EXPECT_EQ(notice.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

}  // namespace
