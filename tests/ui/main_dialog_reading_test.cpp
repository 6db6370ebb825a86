#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tests/support/control_thread.h"
#include "tests/support/main_dialog_driver.h"
#include "tests/support/scripted_reader.h"

namespace {

using list_test::ControlSetup;
using list_test::ControlThread;
using list_test::MainDialogDriver;
using list_test::ScriptedReader;

ControlSetup ListOf(std::vector<std::string> items)
{
    ControlSetup setup;
    setup.items = std::move(items);
    return setup;
}

std::string HandleText(HWND window)
{
    char text[32] = {};
    std::snprintf(text, sizeof(text), "0x%x", static_cast<unsigned int>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

// Records, when the window text edit reports a change, what the handle
// static showed at that moment.
class ChangeSpy {
public:
    explicit ChangeSpy(HWND dialog) : dialog(dialog)
    {
        SetPropA(dialog, kProperty, this);
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
    }
    ~ChangeSpy()
    {
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(dialog, kProperty);
    }
    ChangeSpy(const ChangeSpy&) = delete;
    ChangeSpy& operator=(const ChangeSpy&) = delete;

    std::vector<std::string> handleTextAtTextChange;

private:
    static constexpr const char* kProperty = "QuarvelChangeSpy";

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = static_cast<ChangeSpy*>(GetPropA(window, kProperty));
        if (message == WM_COMMAND && LOWORD(wParam) == IDC_WINDOW_TEXT && HIWORD(wParam) == EN_CHANGE) {
            char handle[32] = {};
            GetDlgItemTextA(window, IDC_WINDOW_HANDLE, handle, sizeof(handle));
            self->handleTextAtTextChange.push_back(handle);
        }
        return CallWindowProcA(self->previous, window, message, wParam, lParam);
    }

    HWND dialog;
    WNDPROC previous = nullptr;
};

TEST(MainDialogReadingTest, PickShowsHandleAndTextAndLeavesCountAndContents)
{
    ControlThread target(ListOf({"alpha"}));
    MainDialogDriver dialog;
    ASSERT_TRUE(dialog.main.window);
    dialog.SetText(IDC_LIST_COUNT, "count kept");
    dialog.SetText(IDC_CONTENTS, "contents kept");

    dialog.Pick(target.Host());
    const std::string handle = dialog.Text(IDC_WINDOW_HANDLE);
    EXPECT_EQ(HandleText(target.Host()), handle);
    // Lower-case hexadecimal after 0x, no leading zeros, no fill.
    ASSERT_GT(handle.size(), 2u);
    EXPECT_EQ("0x", handle.substr(0, 2));
    EXPECT_NE('0', handle[2]);
    EXPECT_EQ(std::string::npos, handle.find_first_not_of("0123456789abcdef", 2));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(target.Host()) & 0xFFFFFFFFu, std::strtoul(handle.c_str(), nullptr, 16));
    EXPECT_EQ("list test host", dialog.Text(IDC_WINDOW_TEXT));
    EXPECT_EQ("count kept", dialog.Count());
    EXPECT_EQ("contents kept", dialog.Contents());

    // A window without text empties the text box.
    dialog.Pick(target.Control());
    EXPECT_EQ(HandleText(target.Control()), dialog.Text(IDC_WINDOW_HANDLE));
    EXPECT_EQ("", dialog.Text(IDC_WINDOW_TEXT));
}

TEST(MainDialogReadingTest, PickSetsTheTextBeforeTheHandle)
{
    ControlThread first(ListOf({}));
    ControlThread second(ListOf({}));
    MainDialogDriver dialog;
    ASSERT_TRUE(dialog.main.window);
    dialog.Pick(first.Control());
    SetWindowTextA(second.Host(), "second host");
    ChangeSpy spy(dialog.main.window);
    dialog.Pick(second.Host());
    ASSERT_FALSE(spy.handleTextAtTextChange.empty()) << "the text box reported no change";
    EXPECT_EQ(HandleText(first.Control()), spy.handleTextAtTextChange.front());
    EXPECT_EQ(HandleText(second.Host()), dialog.Text(IDC_WINDOW_HANDLE));
}

TEST(MainDialogReadingTest, WindowTextIsCutTo511Characters)
{
    const std::string caption = std::string(500, 'c') + std::string(100, 'd');
    HWND window = CreateWindowExA(0, "STATIC", caption.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(window);
    MainDialogDriver dialog;
    dialog.Pick(window);
    EXPECT_EQ(caption.substr(0, 511), dialog.Text(IDC_WINDOW_TEXT));
    DestroyWindow(window);
}

TEST(MainDialogReadingTest, CountAndContentsOfTwoItems)
{
    ControlThread target(ListOf({"alpha", "beta"}));
    MainDialogDriver dialog;
    dialog.Pick(target.Control());

    // Get Contents alone leaves the count sentence empty.
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("alpha\r\nbeta\r\n", dialog.Contents());
    EXPECT_EQ("", dialog.Count());

    dialog.Click(IDC_GET_COUNT);
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    EXPECT_EQ("alpha\r\nbeta\r\n", dialog.Contents());
}

TEST(MainDialogReadingTest, OneItemKeepsThePluralSentence)
{
    ControlThread target(ListOf({"single"}));
    MainDialogDriver dialog;
    dialog.Pick(target.Control());
    dialog.Click(IDC_GET_COUNT);
    EXPECT_EQ("ListBox contains 1 items", dialog.Count());
}

TEST(MainDialogReadingTest, GetContentsTwiceReplacesTheContents)
{
    ControlThread target(ListOf({"alpha", "beta"}));
    MainDialogDriver dialog;
    dialog.Pick(target.Control());
    dialog.SetText(IDC_CONTENTS, "typed before");
    dialog.Click(IDC_GET_CONTENTS);
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("alpha\r\nbeta\r\n", dialog.Contents());
}

TEST(MainDialogReadingTest, ClearEmptiesOnlyTheContents)
{
    ControlThread target(ListOf({"alpha", "beta"}));
    MainDialogDriver dialog;
    dialog.Pick(target.Host());
    dialog.main.dialog.selected = target.Control();
    dialog.Click(IDC_GET_COUNT);
    dialog.Click(IDC_GET_CONTENTS);
    ASSERT_EQ("alpha\r\nbeta\r\n", dialog.Contents());

    dialog.Click(IDC_CLEAR);
    EXPECT_EQ("", dialog.Contents());
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    EXPECT_EQ(HandleText(target.Host()), dialog.Text(IDC_WINDOW_HANDLE));
    EXPECT_EQ("list test host", dialog.Text(IDC_WINDOW_TEXT));
    EXPECT_EQ(target.Control(), dialog.main.dialog.selected);
}

TEST(MainDialogReadingTest, NewPickChangesTheSelectionDisplayOnly)
{
    ControlThread first(ListOf({"alpha", "beta"}));
    ControlThread second(ListOf({"gamma"}));
    SetWindowTextA(second.Host(), "second host");
    MainDialogDriver dialog;
    dialog.Pick(first.Host());
    dialog.main.dialog.selected = first.Control();
    dialog.Click(IDC_GET_COUNT);
    dialog.Click(IDC_GET_CONTENTS);

    dialog.Pick(second.Host());
    EXPECT_EQ(HandleText(second.Host()), dialog.Text(IDC_WINDOW_HANDLE));
    EXPECT_EQ("second host", dialog.Text(IDC_WINDOW_TEXT));
    EXPECT_EQ("ListBox contains 2 items", dialog.Count());
    EXPECT_EQ("alpha\r\nbeta\r\n", dialog.Contents());
}

TEST(MainDialogReadingTest, NothingPickedYetGivesACountOfZeroAndNoContents)
{
    // Asking no window at all gives 0, as a plain send to no window does.
    MainDialogDriver dialog;
    ASSERT_EQ(nullptr, dialog.main.dialog.selected);
    dialog.SetText(IDC_CONTENTS, "old text");
    dialog.Click(IDC_GET_COUNT);
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("ListBox contains 0 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
}

TEST(MainDialogReadingTest, TargetDestroyedAfterThePickGivesACountOfZeroAndNoContents)
{
    ControlThread target(ListOf({"alpha", "beta"}));
    MainDialogDriver dialog;
    dialog.Pick(target.Control());
    const std::string handle = dialog.Text(IDC_WINDOW_HANDLE);
    target.DestroyControl();
    dialog.SetText(IDC_CONTENTS, "old text");
    dialog.Click(IDC_GET_COUNT);
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("ListBox contains 0 items", dialog.Count());
    EXPECT_EQ("", dialog.Contents());
    EXPECT_EQ(handle, dialog.Text(IDC_WINDOW_HANDLE));
}

TEST(MainDialogReadingTest, TargetThatHangsMidwayShowsTheItemsReadBeforeIt)
{
    ControlSetup setup = ListOf({"one", "two", "three", "four"});
    setup.blockOnItem = 2;
    ControlThread target(setup);
    MainDialogDriver dialog;
    dialog.Pick(target.Control());
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_TRUE(target.IsBlocked());
    EXPECT_EQ("one\r\ntwo\r\n", dialog.Contents());
}

// Each step takes half a slice, so the read spans slices and its timer runs
// when the reader throws.
std::unique_ptr<ItemReader> ReaderThatThrowsAtItsFifthStep(HWND, UINT)
{
    ScriptedReader::Script script;
    script.throwAt = 4;
    script.stepMs = kReadSlice / 2;
    return std::make_unique<ScriptedReader>(script);
}

std::unique_ptr<ItemReader> ReaderOfSixItems(HWND, UINT)
{
    return std::make_unique<ScriptedReader>(ScriptedReader::Script());
}

// Choosing the reader asked a control that took a slice's time to answer:
// the click returns to the loop before the next question.
std::unique_ptr<ItemReader> ReaderOfASlowControl(HWND, UINT)
{
    Sleep(kReadSlice + 10);
    return std::make_unique<ScriptedReader>(ScriptedReader::Script());
}

TEST(MainDialogReadingTest, ASlowChoiceOfReaderLetsInputInBeforeTheFirstSlice)
{
    MainDialogDriver dialog;
    dialog.main.dialog.chooseReader = ReaderOfASlowControl;
    SendMessageA(dialog.main.window, WM_COMMAND, MAKEWPARAM(IDC_GET_CONTENTS, BN_CLICKED), 0);
    EXPECT_TRUE(dialog.main.dialog.IsReading());
    EXPECT_EQ("", dialog.Contents());
    while (dialog.main.dialog.IsReading())
        dialog_test::PumpMessages(&dialog.main.loop, 20);
    EXPECT_EQ("item 0\r\nitem 1\r\nitem 2\r\nitem 3\r\nitem 4\r\nitem 5\r\n", dialog.Contents());
}

TEST(MainDialogReadingTest, AReaderThatThrowsEndsItsReadAndTheNextReadWorks)
{
    MainDialogDriver dialog;
    dialog.main.dialog.chooseReader = ReaderThatThrowsAtItsFifthStep;
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("item 0\r\nitem 1\r\nitem 2\r\nitem 3\r\n", dialog.Contents());
    EXPECT_EQ("ListBox contains 6 items, read cut short: out of memory", dialog.Count());
    EXPECT_EQ("Quarvel", dialog_test::WindowText(dialog.main.window));
    EXPECT_EQ(0, ScriptedReader::alive) << "the reader, and its block in the other program, are kept";
    EXPECT_FALSE(KillTimer(dialog.main.window, 1)) << "the read's timer still runs";

    dialog.main.dialog.chooseReader = ReaderOfSixItems;
    dialog.Click(IDC_GET_CONTENTS);
    EXPECT_EQ("item 0\r\nitem 1\r\nitem 2\r\nitem 3\r\nitem 4\r\nitem 5\r\n", dialog.Contents());
}

}  // namespace
