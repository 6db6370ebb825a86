// The run sequence on the test's own thread: it runs the real main dialog and
// the real loop. A helper window of the test, whose message was posted before
// the run, acts from inside the loop once the dialog is up.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "app/dialog_base.h"
#include "app/message_loop.h"
#include "app/module.h"
#include "ui/run_application.h"
#include "res/resource.h"
#include "tests/support/test_window.h"

namespace {

std::string TextOf(HWND window)
{
    char text[64] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

BOOL CALLBACK TakeMainDialog(HWND window, LPARAM result)
{
    if (ClassOf(window) != "#32770" || TextOf(window) != "Quarvel")
        return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

// The thread's main dialog window, if there is one.
HWND FindMainDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeMainDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What the run looked like from inside the loop.
struct RunView {
    HWND dialog = nullptr;
    bool visible = false;
    MessageLoop* loop = nullptr;
    int filters = -1;
    int idleHandlers = -1;
    CreateRecord* records = nullptr;
};

// A hidden window that runs an action the first time its message arrives.
class InsideTheLoop {
public:
    using Action = std::function<void(RunView&)>;

    explicit InsideTheLoop(Action action) : action(std::move(action))
    {
        window.OnMessage([this](UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message == WM_APP && runs++ == 0)
                OnRun();
            return false;
        });
        PostMessageA(window, WM_APP, 0, 0);
    }
    ~InsideTheLoop()
    {
        MSG unread = {};
        while (PeekMessageA(&unread, window, WM_APP, WM_APP, PM_REMOVE)) {
        }
    }
    InsideTheLoop(const InsideTheLoop&) = delete;
    InsideTheLoop& operator=(const InsideTheLoop&) = delete;

    RunView view;
    int runs = 0;

private:
    void OnRun()
    {
        view.dialog = FindMainDialog();
        view.visible = view.dialog && IsWindowVisible(view.dialog);
        view.loop = appModule.LoopForThread(GetCurrentThreadId());
        if (view.loop) {
            view.filters = view.loop->filters.count;
            view.idleHandlers = view.loop->idleHandlers.count;
        }
        view.records = appModule.createRecordList;
        action(view);
    }

    Action action;
    dialog_test::TestWindow window{RECT{}, 0, HWND_MESSAGE, ""};
};

int TakeQuitCode()
{
    MSG message = {};
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? int(message.wParam) : -1;
}

class RunApplicationTest : public testing::Test {
protected:
    void SetUp() override
    {
        TakeQuitCode();  // not this test's to see
        ASSERT_NE(appModule.loopRegistry, nullptr);
        ASSERT_EQ(FindMainDialog(), nullptr);
        pairsBefore = appModule.loopRegistry->count;
    }
    void TearDown() override
    {
        // The run leaves nothing behind: no pair, no record, no window, no quit.
        EXPECT_EQ(appModule.LoopForThread(GetCurrentThreadId()), nullptr);
        EXPECT_EQ(appModule.loopRegistry->count, pairsBefore);
        EXPECT_EQ(appModule.createRecordList, nullptr);
        EXPECT_EQ(FindMainDialog(), nullptr);
        EXPECT_EQ(TakeQuitCode(), -1);
    }
    int pairsBefore = 0;
};

TEST_F(RunApplicationTest, ClosingTheMainDialogEndsTheRunWithTwo)
{
    InsideTheLoop inside([](RunView& view) {
        if (view.dialog)
            PostMessageA(view.dialog, WM_COMMAND, IDCANCEL, 0);
    });
    char commandLine[] = "--ignored arguments";
    EXPECT_EQ(RunApplication(commandLine, SW_SHOWNORMAL), 2);

    ASSERT_EQ(inside.runs, 1) << "the loop ran";
    ASSERT_NE(inside.view.dialog, nullptr);
    EXPECT_TRUE(inside.view.visible) << "the show command reached the window";
    ASSERT_NE(inside.view.loop, nullptr) << "registered for the thread during the run";
    EXPECT_EQ(inside.view.filters, 1);
    EXPECT_EQ(inside.view.idleHandlers, 1);
    EXPECT_EQ(inside.view.records, nullptr) << "the record was taken by the first message";
    EXPECT_FALSE(IsWindow(inside.view.dialog));
}

TEST_F(RunApplicationTest, QuitFromElsewhereEndsTheRunWithItsCodeAndNoWindowLeft)
{
    InsideTheLoop inside([](RunView&) { PostQuitMessage(5); });
    EXPECT_EQ(RunApplication(nullptr, SW_HIDE), 5);

    ASSERT_EQ(inside.runs, 1);
    ASSERT_NE(inside.view.dialog, nullptr);
    EXPECT_FALSE(inside.view.visible) << "hidden as the show command asked";
    // A window still alive here would call into an object that has ended.
    EXPECT_FALSE(IsWindow(inside.view.dialog));
}

TEST_F(RunApplicationTest, MissingMainTemplateEndsTheRunWithZero)
{
    HINSTANCE resources = appModule.resourceInstance;
    appModule.resourceInstance = GetModuleHandleA("kernel32.dll");
    InsideTheLoop inside([](RunView&) {});
    const int exitCode = RunApplication(nullptr, SW_SHOWNORMAL);
    appModule.resourceInstance = resources;
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(inside.runs, 0) << "no loop ran";
}

TEST_F(RunApplicationTest, AbsentRegistryEndsTheRunWithZero)
{
    LoopRegistry* registry = appModule.loopRegistry;
    appModule.loopRegistry = nullptr;
    InsideTheLoop inside([](RunView&) {});
    const int exitCode = RunApplication(nullptr, SW_SHOWNORMAL);
    appModule.loopRegistry = registry;
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(inside.runs, 0) << "no loop ran";
}

}  // namespace
