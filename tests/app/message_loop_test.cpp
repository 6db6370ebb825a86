// The message loop driven by a scripted message source, so that every peek,
// retrieval, filter question, translation, dispatch and idle pass can be put in
// order and checked exactly; then once against the thread's real queue; and
// the loop registry on the module.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/message_loop.h"
#include "app/module.h"
#include "tests/support/test_window.h"

namespace {

using Log = std::vector<std::string>;

std::string NameOf(UINT message)
{
    switch (message) {
    case WM_KEYDOWN: return "keydown";
    case WM_KEYUP: return "keyup";
    case WM_CHAR: return "char";
    case WM_TIMER: return "timer";
    case WM_PAINT: return "paint";
    case WM_NCMOUSEMOVE: return "ncmousemove";
    case 0x0118: return "0x118";
    case WM_MOUSEMOVE: return "mousemove";
    case WM_QUIT: return "quit";
    default: {
        char text[16];
        std::snprintf(text, sizeof(text), "0x%X", message);
        return text;
    }
    }
}

// The loop's view of the queue, from a script. A step becomes visible to a
// peek only after its number of empty peeks; retrieval takes it at once, as a
// real retrieval waits for the next message.
class ScriptedSource final : public MessageSource {
public:
    static constexpr int kLater = 1 << 20;  // arrives only once the loop waits for it

    explicit ScriptedSource(Log& log) : log(log) {}

    void Message(UINT message, int emptyPeeks = 0) { Add(1, message, 0, emptyPeeks); }
    void Quit(WPARAM code, int emptyPeeks = 0) { Add(0, WM_QUIT, code, emptyPeeks); }
    // A retrieval that fails; the record it leaves carries a message that must
    // not be processed.
    void Error(int emptyPeeks = 0) { Add(-1, WM_USER + 99, 0, emptyPeeks); }

    BOOL Peek(MSG* message) override
    {
        ++peeks;
        peekedSinceGet = true;
        if (steps.empty())
            return FALSE;
        Step& next = steps.front();
        if (next.emptyPeeks > 0) {
            --next.emptyPeeks;
            return FALSE;
        }
        *message = next.message;
        return TRUE;
    }

    BOOL Get(MSG* message) override
    {
        if (!peekedSinceGet)
            ++getsWithoutPeek;
        peekedSinceGet = false;
        if (steps.empty()) {
            ADD_FAILURE() << "the loop asked for a message past the end of the script";
            *message = MSG();
            message->message = WM_QUIT;
            message->wParam = WPARAM(-1);
            return 0;
        }
        const Step step = steps.front();
        steps.pop_front();
        *message = step.message;
        return step.result;
    }

    void Translate(const MSG* message) override { log.push_back("translate " + NameOf(message->message)); }
    void Dispatch(const MSG* message) override { log.push_back("dispatch " + NameOf(message->message)); }

    int peeks = 0;
    int getsWithoutPeek = 0;
    bool Finished() const { return steps.empty(); }

private:
    struct Step {
        BOOL result;
        MSG message;
        int emptyPeeks;
    };

    void Add(BOOL result, UINT message, WPARAM wParam, int emptyPeeks)
    {
        Step step = {result, MSG(), emptyPeeks};
        step.message.message = message;
        step.message.wParam = wParam;
        steps.push_back(step);
    }

    Log& log;
    std::deque<Step> steps;
    bool peekedSinceGet = false;
};

class RecordingFilter final : public MessageFilter {
public:
    RecordingFilter(Log& log, std::string name, std::set<UINT> taken = {})
        : log(log), name(std::move(name)), taken(std::move(taken))
    {
    }
    BOOL FilterMessage(MSG* message) override
    {
        log.push_back(name + " " + NameOf(message->message));
        if (onFirstCall) {
            auto action = std::move(onFirstCall);
            onFirstCall = nullptr;
            action();
        }
        return taken.count(message->message) ? TRUE : FALSE;
    }
    std::function<void()> onFirstCall;

private:
    Log& log;
    std::string name;
    std::set<UINT> taken;
};

class RecordingIdleHandler final : public IdleHandler {
public:
    RecordingIdleHandler(Log& log, std::string name) : log(log), name(std::move(name)) {}
    BOOL DoIdle() override
    {
        log.push_back("idle " + name);
        if (onFirstCall) {
            auto action = std::move(onFirstCall);
            onFirstCall = nullptr;
            action();
        }
        return TRUE;  // the loop ignores what a handler answers
    }
    std::function<void()> onFirstCall;

private:
    Log& log;
    std::string name;
};

// Records the count that each idle step is given. Optionally keeps asking for
// more idle work, which the program's own idle step never does.
class ProbeLoop final : public MessageLoop {
public:
    explicit ProbeLoop(MessageSource* source) : MessageLoop(source) {}
    BOOL IdleStep(int idleCalls) override
    {
        idleCallsSeen.push_back(idleCalls);
        const BOOL base = MessageLoop::IdleStep(idleCalls);
        EXPECT_FALSE(base);
        return wantsMoreIdle ? TRUE : base;
    }
    std::vector<int> idleCallsSeen;
    bool wantsMoreIdle = false;
};

Log Processed(std::initializer_list<const char*> names)
{
    Log entries;
    for (const char* name : names) {
        entries.push_back(std::string("translate ") + name);
        entries.push_back(std::string("dispatch ") + name);
    }
    return entries;
}

Log Concat(std::initializer_list<Log> parts)
{
    Log all;
    for (const Log& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class MessageLoopTest : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(source.Finished()) << "the loop ended before the script did";
        EXPECT_EQ(source.getsWithoutPeek, 0) << "every pass peeks before it retrieves";
    }
    Log log;
    ScriptedSource source{log};
    ProbeLoop loop{&source};
    static constexpr int kLater = ScriptedSource::kLater;
};

TEST_F(MessageLoopTest, WithoutFiltersEveryMessageButQuitIsTranslatedAndDispatched)
{
    source.Message(WM_KEYDOWN);
    source.Message(WM_CHAR);
    source.Quit(7);
    EXPECT_EQ(loop.RunLoop(), 7);
    EXPECT_EQ(log, Processed({"keydown", "char"}));
    EXPECT_EQ(loop.lastMessage.message, UINT(WM_QUIT));
}

TEST_F(MessageLoopTest, NewestFilterIsAskedFirstAndATakenMessageGoesNoFurther)
{
    RecordingFilter a(log, "A"), b(log, "B", {WM_KEYDOWN}), c(log, "C");
    ASSERT_TRUE(loop.RegisterFilter(&a));
    ASSERT_TRUE(loop.RegisterFilter(&b));
    ASSERT_TRUE(loop.RegisterFilter(&c));
    source.Message(WM_KEYDOWN);
    source.Message(WM_CHAR);
    source.Quit(0);
    EXPECT_EQ(loop.RunLoop(), 0);
    EXPECT_EQ(log, Concat({{"C keydown", "B keydown"}, {"C char", "B char", "A char"}, Processed({"char"})}));
}

TEST_F(MessageLoopTest, FilterRegisteredDuringTheWalkIsFirstAskedWithTheNextMessage)
{
    RecordingFilter a(log, "A"), b(log, "B"), c(log, "C"), d(log, "D");
    loop.RegisterFilter(&a);
    loop.RegisterFilter(&b);
    // Two more filters make the list outgrow its storage in the middle of the walk.
    b.onFirstCall = [&] {
        loop.RegisterFilter(&c);
        loop.RegisterFilter(&d);
    };
    source.Message(WM_KEYDOWN);
    source.Message(WM_CHAR);
    source.Quit(0);
    loop.RunLoop();
    EXPECT_EQ(log, Concat({{"B keydown", "A keydown"}, Processed({"keydown"}),
                           {"D char", "C char", "B char", "A char"}, Processed({"char"})}));
}

TEST_F(MessageLoopTest, QuitEndsTheLoopWithItsCodeAndNoFilterSeesIt)
{
    RecordingFilter all(log, "F", {WM_KEYDOWN, WM_QUIT});
    loop.RegisterFilter(&all);
    source.Message(WM_KEYDOWN);
    source.Quit(2);
    // A loop that went on would ask past the end of the script.
    EXPECT_EQ(loop.RunLoop(), 2);
    EXPECT_EQ(log, (Log{"F keydown"}));
    EXPECT_EQ(loop.lastMessage.wParam, WPARAM(2));
}

TEST_F(MessageLoopTest, WaitingMessagesComeFirstThenOneIdlePassPerBurst)
{
    RecordingIdleHandler h(log, "H");
    loop.RegisterIdleHandler(&h);
    source.Message(WM_KEYDOWN);  // already waiting when the loop starts
    source.Message(WM_CHAR);
    source.Message(WM_KEYUP, kLater);
    source.Quit(0, kLater);
    loop.RunLoop();
    EXPECT_EQ(log, Concat({Processed({"keydown", "char"}), {"idle H"}, Processed({"keyup"}), {"idle H"}}));
}

TEST_F(MessageLoopTest, StreamMessagesNeverMakeAnIdlePassDue)
{
    RecordingIdleHandler h(log, "H");
    loop.RegisterIdleHandler(&h);
    source.Message(WM_PAINT, kLater);
    source.Message(WM_NCMOUSEMOVE, kLater);
    source.Message(0x0118, kLater);
    source.Message(WM_MOUSEMOVE, kLater);
    source.Message(WM_TIMER, kLater);
    source.Message(WM_MOUSEMOVE, kLater);
    source.Quit(0, kLater);
    loop.RunLoop();
    EXPECT_EQ(log, Concat({{"idle H"}, Processed({"paint", "ncmousemove", "0x118", "mousemove", "timer"}),
                           {"idle H"}, Processed({"mousemove"})}));

    for (UINT message = 0; message < 0x10000; ++message) {
        const bool stream = message == WM_PAINT || message == WM_NCMOUSEMOVE || message == 0x0118 ||
                            message == WM_MOUSEMOVE;
        ASSERT_EQ(RestartsIdle(message), !stream) << NameOf(message);
    }
}

TEST_F(MessageLoopTest, AMessageTakenByAFilterStillRestartsIdle)
{
    RecordingFilter f(log, "F", {WM_KEYDOWN, WM_MOUSEMOVE});
    RecordingIdleHandler h(log, "H");
    loop.RegisterFilter(&f);
    loop.RegisterIdleHandler(&h);
    source.Message(WM_KEYDOWN, kLater);
    source.Message(WM_MOUSEMOVE, kLater);
    source.Quit(0, kLater);
    loop.RunLoop();
    EXPECT_EQ(log, (Log{"idle H", "F keydown", "idle H", "F mousemove"}));
}

TEST_F(MessageLoopTest, RetrievalErrorNeitherEndsTheLoopNorRestartsIdle)
{
    RecordingIdleHandler h(log, "H");
    loop.RegisterIdleHandler(&h);
    source.Message(WM_KEYDOWN, kLater);
    source.Error(kLater);
    source.Quit(4, kLater);
    EXPECT_EQ(loop.RunLoop(), 4);
    EXPECT_EQ(log, Concat({{"idle H"}, Processed({"keydown"}), {"idle H"}}));
}

TEST_F(MessageLoopTest, RetrievalErrorKeepsAPendingIdlePass)
{
    RecordingIdleHandler h(log, "H");
    loop.RegisterIdleHandler(&h);
    source.Error();  // a message seems to wait, but retrieving it fails
    source.Quit(0, kLater);
    loop.RunLoop();
    EXPECT_EQ(log, (Log{"idle H"}));
}

TEST_F(MessageLoopTest, IdleCallCountRunsOnAcrossARetrievalError)
{
    // An idle step that wants more work is called again until a message shows
    // up, with the count of the calls before it; an error does not reset it.
    loop.wantsMoreIdle = true;
    source.Error(2);
    source.Quit(0, 1);
    loop.RunLoop();
    EXPECT_EQ(loop.idleCallsSeen, (std::vector<int>{0, 1, 2}));
}

TEST_F(MessageLoopTest, IdleHandlerRegisteredDuringAPassRunsInThatPass)
{
    RecordingIdleHandler first(log, "H1"), second(log, "H2");
    loop.RegisterIdleHandler(&first);
    first.onFirstCall = [&] { loop.RegisterIdleHandler(&second); };
    source.Message(WM_KEYDOWN, kLater);
    source.Quit(0, kLater);
    loop.RunLoop();
    EXPECT_EQ(log, Concat({{"idle H1", "idle H2"}, Processed({"keydown"}), {"idle H1", "idle H2"}}));
}

TEST_F(MessageLoopTest, TheProgramsIdleStepIsAlwaysGivenZero)
{
    RecordingIdleHandler h(log, "H");
    loop.RegisterIdleHandler(&h);
    source.Message(WM_KEYDOWN, kLater);
    source.Message(WM_MOUSEMOVE, kLater);
    source.Error(kLater);
    source.Message(WM_CHAR);
    source.Message(WM_KEYUP, kLater);
    source.Quit(0, kLater);
    loop.RunLoop();
    EXPECT_EQ(loop.idleCallsSeen, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(source.peeks, 6 + 4) << "one peek per pass and one more after each idle step";
}

TEST_F(MessageLoopTest, ClearsBothListsWhenDestroyedAndLeavesTheClientsAlone)
{
    RecordingFilter f(log, "F");
    RecordingIdleHandler h(log, "H");
    {
        MessageLoop own(&source);
        EXPECT_EQ(own.filters.count, 0);
        EXPECT_EQ(own.idleHandlers.count, 0);
        ASSERT_TRUE(own.RegisterFilter(&f));
        ASSERT_TRUE(own.RegisterIdleHandler(&h));
        ASSERT_TRUE(own.RegisterFilter(&f));
        EXPECT_EQ(own.filters.count, 2);
        EXPECT_EQ(own.filters[1], &f);
        EXPECT_EQ(own.idleHandlers[0], &h);
    }
    EXPECT_TRUE(log.empty()) << "destroying the loop calls none of its clients";
}

// ------------------------------------------------------- the real thread queue

struct QueueProbe {
    std::vector<UINT> received;
};

// A message-only window that notes every application message it receives.
class ProbeWindow {
public:
    explicit ProbeWindow(QueueProbe& probe)
    {
        target.OnMessage([&probe](UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message >= WM_APP)
                probe.received.push_back(message);
            return false;
        });
    }
    dialog_test::TestWindow target{RECT{}, 0, HWND_MESSAGE, ""};
    const HWND window = target;
};

// Sees the messages for one window; takes one kind of them.
class WindowFilter final : public MessageFilter {
public:
    WindowFilter(HWND window, UINT taken) : window(window), taken(taken) {}
    BOOL FilterMessage(MSG* message) override
    {
        if (message->message == WM_QUIT)
            sawQuit = true;
        if (message->hwnd != window)
            return FALSE;
        seen.push_back(message->message);
        return message->message == taken;
    }
    std::vector<UINT> seen;
    bool sawQuit = false;

private:
    HWND window;
    UINT taken;
};

class PostingIdleHandler final : public IdleHandler {
public:
    explicit PostingIdleHandler(HWND window) : window(window) {}
    BOOL DoIdle() override
    {
        if (++calls == 1) {
            PostMessageA(window, WM_APP + 3, 0, 0);
            PostQuitMessage(3);
        }
        return FALSE;
    }
    int calls = 0;

private:
    HWND window;
};

TEST(MessageLoopQueueTest, RunsOnTheThreadsRealQueue)
{
    QueueProbe probe;
    ProbeWindow target(probe);
    ASSERT_NE(target.window, nullptr);
    MessageLoop loop;
    WindowFilter filter(target.window, WM_APP + 2);
    PostingIdleHandler idle(target.window);
    loop.RegisterFilter(&filter);
    loop.RegisterIdleHandler(&idle);

    MSG stale = {};
    PeekMessageA(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // not this test's to see
    PostMessageA(target.window, WM_APP + 1, 0, 0);
    PostMessageA(target.window, WM_APP + 2, 0, 0);
    EXPECT_EQ(loop.RunLoop(), 3);

    EXPECT_EQ(filter.seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_APP + 3}));
    EXPECT_EQ(probe.received, (std::vector<UINT>{WM_APP + 1, WM_APP + 3})) << "a taken message is not dispatched";
    EXPECT_FALSE(filter.sawQuit);
    EXPECT_GE(idle.calls, 1);
    EXPECT_EQ(loop.lastMessage.message, UINT(WM_QUIT));
    MSG left = {};
    EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message was taken";
}

// ------------------------------------------------------------ the registry

// A module of the test's own, so that the program's registry is not disturbed.
class LoopRegistryTest : public testing::Test {
protected:
    void SetUp() override { module.Initialize(GetModuleHandleA(nullptr)); }
    void TearDown() override { module.Shutdown(); }
    AppModule module;
    MessageLoop first, second;
    const DWORD thread = GetCurrentThreadId();
};

TEST_F(LoopRegistryTest, FindsTheLoopOfTheCallingThreadUntilItIsUnregistered)
{
    EXPECT_EQ(module.LoopForThread(thread), nullptr);
    EXPECT_FALSE(module.UnregisterLoop());

    ASSERT_TRUE(module.RegisterLoop(&first));
    EXPECT_EQ(module.LoopForThread(thread), &first);
    EXPECT_EQ(module.LoopForThread(thread + 4), nullptr) << "a thread that never registered";
    EXPECT_EQ(module.LoopForThread(0), nullptr);

    EXPECT_TRUE(module.UnregisterLoop());
    EXPECT_EQ(module.LoopForThread(thread), nullptr);
    EXPECT_FALSE(module.UnregisterLoop());
    EXPECT_EQ(module.loopRegistry->count, 0);
}

TEST_F(LoopRegistryTest, ASecondRegistrationForTheThreadLeavesTheFirstFound)
{
    ASSERT_TRUE(module.RegisterLoop(&first));
    ASSERT_TRUE(module.RegisterLoop(&second));
    EXPECT_EQ(module.loopRegistry->count, 2);
    EXPECT_EQ(module.LoopForThread(thread), &first);
    EXPECT_TRUE(module.UnregisterLoop());
    EXPECT_EQ(module.LoopForThread(thread), &second);
    EXPECT_TRUE(module.UnregisterLoop());
    EXPECT_EQ(module.LoopForThread(thread), nullptr);
}

TEST_F(LoopRegistryTest, WithoutARegistryNothingIsFoundOrKept)
{
    LoopRegistry* registry = module.loopRegistry;
    module.loopRegistry = nullptr;
    EXPECT_FALSE(module.RegisterLoop(&first));
    EXPECT_EQ(module.LoopForThread(thread), nullptr);
    EXPECT_FALSE(module.UnregisterLoop());
    module.loopRegistry = registry;
    EXPECT_EQ(registry->count, 0);
}

TEST_F(LoopRegistryTest, ModuleStartsEmptyAndShutdownReleasesTheRegistry)
{
    EXPECT_EQ(module.resourceInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(module.createRecordList, nullptr);
    ASSERT_NE(module.loopRegistry, nullptr);
    EXPECT_EQ(module.loopRegistry->count, 0);
    EXPECT_EQ(module.loopRegistry->keys, nullptr);

    module.RegisterLoop(&first);
    module.Shutdown();
    EXPECT_EQ(module.loopRegistry, nullptr);
    module.Initialize(GetModuleHandleA(nullptr));  // for the tear-down
}

}  // namespace
