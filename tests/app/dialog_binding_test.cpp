// Binding of dialog objects to real dialog windows, modeless and modal, and the
// routing of their messages: the first message handled like every later one,
// the result protocol as the dialog manager and direct callers see it, detach
// on the last message, nested dispatch, the create-record list across threads,
// and the code memory the bound procedure lives in.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/dialog_base.h"
#include "app/module.h"
#include "ui/about_dialog.h"
#include "ui/main_dialog.h"
#include "res/resource.h"
#include "tools/joined_thread.h"

namespace {

constexpr LONG_PTR kUntouched = 0x5EED;
constexpr int kButtonId = 1001;

// An in-memory dialog template: a hidden popup with one push button, no font.
class DialogTemplate {
public:
    explicit DialogTemplate(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME)
    {
        Dword(style);
        Dword(0);      // extended style
        words.push_back(1);  // one control
        Rectangle(10, 10, 120, 60);
        words.push_back(0);  // no menu
        words.push_back(0);  // the dialog class
        Text(L"Binding test");

        AlignDword();
        Dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
        Dword(0);
        Rectangle(10, 10, 50, 14);
        words.push_back(WORD(kButtonId));
        words.push_back(0xFFFF);
        words.push_back(0x0080);  // button
        Text(L"Go");
        words.push_back(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words.data()); }

private:
    void Dword(DWORD value)
    {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    }
    void Rectangle(short x, short y, short cx, short cy)
    {
        for (short value : {x, y, cx, cy})
            words.push_back(WORD(value));
    }
    void Text(const wchar_t* text)
    {
        for (; *text; ++text)
            words.push_back(WORD(*text));
        words.push_back(0);
    }
    void AlignDword()
    {
        if (words.size() % 2)
            words.push_back(0);
    }

    std::vector<WORD> words;
};

struct SeenMessage {
    HWND argument;      // the window HandleMessage was given
    HWND objectWindow;  // the object's window at that moment
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const MSG* current;  // currentMessage during the call
    MSG currentCopy;
};

struct LastMessageCall {
    HWND argument;
    HWND windowAtCall;
};

// A dialog whose routing table the test writes. By default it answers
// WM_INITDIALOG with TRUE and leaves everything else to the dialog manager.
class ScriptedDialog final : public DialogBase {
public:
    using Handler = std::function<bool(ScriptedDialog&, UINT, WPARAM, LPARAM, LRESULT&)>;

    ScriptedDialog() = default;
    ~ScriptedDialog()
    {
        if (window && IsWindow(window))
            DestroyWindow(window);
    }

    BOOL HandleMessage(HWND argument, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       DWORD selector) override
    {
        if (selector != 0)
            return FALSE;
        SeenMessage seenMessage = {argument, window, message, wParam, lParam, currentMessage, MSG()};
        if (currentMessage)
            seenMessage.currentCopy = *currentMessage;
        seen.push_back(seenMessage);
        if (handler)
            return handler(*this, message, wParam, lParam, result) ? TRUE : FALSE;
        if (message == WM_INITDIALOG) {
            result = TRUE;
            return TRUE;
        }
        return FALSE;
    }

    void AfterLastMessage(HWND argument) override { lastCalls.push_back({argument, window}); }

    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const SeenMessage& s : seen)
            messages.push_back(s.message);
        return messages;
    }

    Handler handler;
    std::vector<SeenMessage> seen;
    std::vector<LastMessageCall> lastCalls;
};

// A plain dialog procedure, to learn which messages a dialog procedure gets
// from the system when no binding stands between them.
struct PlainProcedure {
    static std::vector<UINT>& Messages()
    {
        static std::vector<UINT> messages;
        return messages;
    }
    static INT_PTR CALLBACK Modeless(HWND, UINT message, WPARAM, LPARAM)
    {
        Messages().push_back(message);
        return message == WM_INITDIALOG;
    }
    static INT_PTR CALLBACK Modal(HWND window, UINT message, WPARAM wParam, LPARAM)
    {
        Messages().push_back(message);
        if (message == WM_INITDIALOG)
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
            EndDialog(window, IDOK);
        return message == WM_INITDIALOG;
    }
};

// The messages up to and including WM_INITDIALOG: what creation sends.
std::vector<UINT> UpToInit(const std::vector<UINT>& messages)
{
    std::vector<UINT> prefix;
    for (UINT message : messages) {
        prefix.push_back(message);
        if (message == WM_INITDIALOG)
            break;
    }
    return prefix;
}

// Where a test takes its dialog template from.
struct TemplateChoice {
    const char* name;
    bool fromResources;  // IDD_ABOUT of the test executable (with a font), else the in-memory one
};

HWND CreateModeless(const TemplateChoice& choice, const DialogTemplate& memory, DLGPROC procedure)
{
    if (choice.fromResources)
        return CreateDialogParamW(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, procedure, 0);
    return CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, procedure, 0);
}

INT_PTR RunModal(const TemplateChoice& choice, const DialogTemplate& memory, DLGPROC procedure)
{
    if (choice.fromResources)
        return DialogBoxParamW(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, procedure, 0);
    return DialogBoxIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, procedure, 0);
}

// The same windows, bound to `dialog`.
HWND CreateModeless(const TemplateChoice& choice, const DialogTemplate& memory, DialogBase& dialog)
{
    if (choice.fromResources)
        return dialog.CreateModeless(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_ABOUT));
    return dialog.CreateModelessIndirect(GetModuleHandleA(nullptr), memory.Get());
}

INT_PTR RunModal(const TemplateChoice& choice, const DialogTemplate& memory, DialogBase& dialog)
{
    if (choice.fromResources)
        return dialog.RunModal(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_ABOUT));
    return dialog.RunModalIndirect(GetModuleHandleA(nullptr), memory.Get());
}

HWND CreateBound(ScriptedDialog& dialog, const DialogTemplate& memory = DialogTemplate())
{
    return dialog.CreateModelessIndirect(GetModuleHandleA(nullptr), memory.Get());
}

LONG_PTR MessageResult(HWND window)
{
    return GetWindowLongPtrA(window, DWLP_MSGRESULT);
}

LONG_PTR DialogProcedureOf(HWND window)
{
    return GetWindowLongPtrW(window, DWLP_DLGPROC);
}

MEMORY_BASIC_INFORMATION Query(const void* address)
{
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(address, &info, sizeof(info));
    return info;
}

class DialogBindingTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(appModule.createRecordList, nullptr) << "a record was left linked"; }
    void TearDown() override { EXPECT_EQ(appModule.createRecordList, nullptr) << "a record was left linked"; }
};

class FirstMessageTest : public DialogBindingTest, public testing::WithParamInterface<TemplateChoice> {};

TEST_P(FirstMessageTest, ModelessWindowGetsItsFirstMessageThroughTheObject)
{
    const DialogTemplate memory;
    PlainProcedure::Messages().clear();
    HWND plain = CreateModeless(GetParam(), memory, PlainProcedure::Modeless);
    ASSERT_NE(plain, nullptr);
    const std::vector<UINT> expected = PlainProcedure::Messages();
    DestroyWindow(plain);
    ASSERT_FALSE(expected.empty());

    ScriptedDialog dialog;
    HWND window = CreateModeless(GetParam(), memory, dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.window, window);
    EXPECT_EQ(dialog.Messages(), expected) << "every message a plain procedure gets, the first included";
    ASSERT_FALSE(dialog.seen.empty());

    const SeenMessage& first = dialog.seen.front();
    EXPECT_EQ(first.argument, window);
    EXPECT_EQ(first.objectWindow, window) << "bound before the first message is handled";
    ASSERT_NE(first.current, nullptr);
    EXPECT_EQ(first.currentCopy.hwnd, window);
    EXPECT_EQ(first.currentCopy.message, first.message);
    EXPECT_EQ(first.currentCopy.wParam, first.wParam);
    EXPECT_EQ(first.currentCopy.lParam, first.lParam);
    EXPECT_EQ(first.currentCopy.time, 0u);
    EXPECT_EQ(first.currentCopy.pt.x, 0);
    EXPECT_EQ(first.currentCopy.pt.y, 0);
    EXPECT_EQ(dialog.currentMessage, nullptr) << "none outside dispatch";

    EXPECT_EQ(DialogProcedureOf(window), reinterpret_cast<LONG_PTR>(dialog.BoundProcedure()));
    dialog.seen.clear();
    SendMessageA(window, WM_APP + 1, 2, 3);
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0].message, UINT(WM_APP + 1));
    EXPECT_EQ(dialog.seen[0].wParam, WPARAM(2));
    EXPECT_EQ(dialog.seen[0].lParam, LPARAM(3));
}

TEST_P(FirstMessageTest, ModalWindowIsBoundFromItsFirstMessageUntilItsLast)
{
    const DialogTemplate memory;
    PlainProcedure::Messages().clear();
    ASSERT_EQ(RunModal(GetParam(), memory, PlainProcedure::Modal), IDOK);
    const std::vector<UINT> expected = UpToInit(PlainProcedure::Messages());

    ScriptedDialog dialog;
    HWND boxWindow = nullptr;
    dialog.handler = [&](ScriptedDialog& self, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_INITDIALOG) {
            boxWindow = self.window;
            PostMessageA(self.window, WM_COMMAND, IDOK, 0);
            result = TRUE;
            return true;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            EndDialog(self.window, 42);
            result = 0;
            return true;
        }
        return false;
    };
    EXPECT_EQ(RunModal(GetParam(), memory, dialog), 42);

    ASSERT_NE(boxWindow, nullptr);
    EXPECT_EQ(UpToInit(dialog.Messages()), expected);
    for (const SeenMessage& seen : dialog.seen) {
        EXPECT_EQ(seen.argument, boxWindow);
        EXPECT_EQ(seen.objectWindow, boxWindow);
    }
    ASSERT_FALSE(dialog.seen.empty());
    EXPECT_EQ(dialog.seen.back().message, UINT(WM_NCDESTROY));
    ASSERT_EQ(dialog.lastCalls.size(), 1u);
    EXPECT_EQ(dialog.lastCalls[0].argument, boxWindow);
    EXPECT_EQ(dialog.window, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Templates, FirstMessageTest,
                         testing::Values(TemplateChoice{"InMemory", false}, TemplateChoice{"AboutResource", true}),
                         [](const testing::TestParamInfo<TemplateChoice>& info) { return info.param.name; });

// ------------------------------------------------------------ the result protocol

const UINT kDirectResults[] = {WM_VKEYTOITEM,     WM_CHARTOITEM,     WM_QUERYDRAGICON,     WM_COMPAREITEM,
                               WM_INITDIALOG,     WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT,      WM_CTLCOLORLISTBOX,
                               WM_CTLCOLORBTN,    WM_CTLCOLORDLG,    WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC};

TEST(ResultProtocolTest, TwelveMessagesReturnTheirResultDirectly)
{
    int direct = 0;
    for (UINT message = 0; message < 0x10000; ++message) {
        bool listed = false;
        for (UINT m : kDirectResults)
            listed = listed || m == message;
        ASSERT_EQ(ReturnsResultDirectly(message), listed) << std::hex << message;
        direct += listed ? 1 : 0;
    }
    EXPECT_EQ(direct, 12);
}

// A bound window whose object handles exactly one message with a given
// result. The bound procedure is called as the system would call it.
class ResultProtocolOnWindowTest : public DialogBindingTest {
protected:
    void SetUp() override
    {
        DialogBindingTest::SetUp();
        dialog.handler = [this](ScriptedDialog&, UINT message, WPARAM, LPARAM, LRESULT& result) {
            if (message != handledMessage)
                return false;
            result = answer;
            return true;
        };
        handledMessage = WM_INITDIALOG;
        answer = TRUE;
        window = CreateBound(dialog);
        ASSERT_NE(window, nullptr);
        handledMessage = 0;
    }

    INT_PTR Call(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        SetWindowLongPtrA(window, DWLP_MSGRESULT, kUntouched);
        return dialog.BoundProcedure()(window, message, wParam, lParam);
    }

    ScriptedDialog dialog;
    HWND window = nullptr;
    UINT handledMessage = 0;
    LRESULT answer = 0;
};

TEST_F(ResultProtocolOnWindowTest, HandledInitDialogIsReturnedWithoutStoringAResult)
{
    handledMessage = WM_INITDIALOG;
    answer = TRUE;
    EXPECT_EQ(Call(WM_INITDIALOG), TRUE);
    EXPECT_EQ(MessageResult(window), kUntouched);
    answer = FALSE;
    EXPECT_EQ(Call(WM_INITDIALOG), FALSE);
    EXPECT_EQ(MessageResult(window), kUntouched);
}

TEST_F(ResultProtocolOnWindowTest, EveryDirectMessageReturnsItsResultItself)
{
    LRESULT value = 0x3C0;
    for (UINT message : kDirectResults) {
        handledMessage = message;
        answer = ++value;
        EXPECT_EQ(Call(message), INT_PTR(value)) << std::hex << message;
        EXPECT_EQ(MessageResult(window), kUntouched) << std::hex << message;
    }
}

TEST_F(ResultProtocolOnWindowTest, OtherHandledMessagesStoreTheResultAndReturnTrue)
{
    // WM_COMMAND, and the neighbours of the directly returned messages.
    const UINT messages[] = {WM_COMMAND, WM_DELETEITEM, WM_SETFONT, 0x36, 0x38, 0x3A, 0x10F, 0x131, 0x139,
                             WM_NCDESTROY, WM_APP};
    for (UINT message : messages) {
        handledMessage = message;
        answer = -3;
        EXPECT_EQ(Call(message), TRUE) << std::hex << message;
        EXPECT_EQ(MessageResult(window), LONG_PTR(-3)) << std::hex << message;
    }
    handledMessage = WM_COMMAND;
    answer = 0;
    EXPECT_EQ(Call(WM_COMMAND, IDOK), TRUE);
    EXPECT_EQ(MessageResult(window), 0) << "a handled WM_COMMAND stores its 0";
    EXPECT_EQ(dialog.window, window) << "a handled WM_NCDESTROY does not detach";
    EXPECT_TRUE(dialog.lastCalls.empty());
}

TEST_F(ResultProtocolOnWindowTest, UnhandledMessagesReturnFalseAndStoreNothing)
{
    handledMessage = 0;
    for (UINT message : {UINT(WM_COMMAND), UINT(WM_CTLCOLORDLG), UINT(WM_INITDIALOG), UINT(WM_APP)}) {
        EXPECT_EQ(Call(message), FALSE) << std::hex << message;
        EXPECT_EQ(MessageResult(window), kUntouched) << std::hex << message;
    }
}

TEST_F(ResultProtocolOnWindowTest, SendersGetTheResultsThroughTheDialogManager)
{
    handledMessage = WM_COMMAND;
    answer = 0x2A;
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), 0), 0x2A);

    // A handled WM_COMMAND with result 0 overwrites what the handler found.
    dialog.handler = [](ScriptedDialog& self, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_COMMAND)
            return false;
        SetWindowLongPtrA(self.window, DWLP_MSGRESULT, kUntouched);
        result = 0;
        return true;
    };
    HWND button = GetDlgItem(window, kButtonId);
    dialog.seen.clear();
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), LPARAM(button)), 0);
    EXPECT_EQ(MessageResult(window), 0);
    ASSERT_EQ(dialog.seen.size(), 1u);
    EXPECT_EQ(dialog.seen[0].wParam, MAKEWPARAM(kButtonId, BN_CLICKED));
    EXPECT_EQ(dialog.seen[0].lParam, LPARAM(button));

    // A colour answer reaches the sender as it is.
    const LRESULT brush = reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH));
    dialog.handler = [brush](ScriptedDialog&, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_CTLCOLORBTN)
            return false;
        result = brush;
        return true;
    };
    HDC context = GetDC(button);
    EXPECT_EQ(SendMessageA(window, WM_CTLCOLORBTN, WPARAM(context), LPARAM(button)), brush);
    ReleaseDC(button, context);

    dialog.handler = nullptr;
    EXPECT_EQ(SendMessageA(window, WM_APP + 5, 0, 0), 0);
}

// ------------------------------------------------------- detach and nesting

TEST_F(DialogBindingTest, UnhandledLastMessageDetachesBeforeAfterLastMessage)
{
    ScriptedDialog dialog;
    HWND window = CreateBound(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(dialog.window, nullptr);
    ASSERT_EQ(dialog.lastCalls.size(), 1u);
    EXPECT_EQ(dialog.lastCalls[0].argument, window);
    EXPECT_EQ(dialog.lastCalls[0].windowAtCall, nullptr);
    ASSERT_FALSE(dialog.seen.empty());
    EXPECT_EQ(dialog.seen.back().message, UINT(WM_NCDESTROY));
    EXPECT_EQ(dialog.seen.back().objectWindow, window) << "still bound while the message is handled";
}

TEST_F(DialogBindingTest, HandledLastMessageKeepsTheWindow)
{
    ScriptedDialog dialog;
    dialog.handler = [](ScriptedDialog&, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = message == WM_INITDIALOG ? TRUE : 0;
        return message == WM_INITDIALOG || message == WM_NCDESTROY;
    };
    HWND window = CreateBound(dialog);
    ASSERT_NE(window, nullptr);
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.window, window);
    EXPECT_TRUE(dialog.lastCalls.empty());
}

TEST_F(DialogBindingTest, NestedMessagesStackTheCurrentMessage)
{
    ScriptedDialog dialog;
    const MSG* outerDuring = nullptr;
    const MSG* outerAfterInner = nullptr;
    const MSG* innerDuring = nullptr;
    MSG outerCopy = {}, innerCopy = {}, outerAfterCopy = {};
    dialog.handler = [&](ScriptedDialog& self, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        result = message == WM_INITDIALOG ? TRUE : 0;
        if (message != WM_COMMAND)
            return message == WM_INITDIALOG;
        if (wParam == 1) {
            outerDuring = self.currentMessage;
            outerCopy = *self.currentMessage;
            SendMessageA(self.window, WM_COMMAND, 2, 22);
            outerAfterInner = self.currentMessage;
            outerAfterCopy = *self.currentMessage;
        } else {
            innerDuring = self.currentMessage;
            innerCopy = *self.currentMessage;
        }
        return true;
    };
    HWND window = CreateBound(dialog);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, 1, 11);

    ASSERT_NE(outerDuring, nullptr);
    ASSERT_NE(innerDuring, nullptr);
    EXPECT_NE(innerDuring, outerDuring);
    EXPECT_EQ(outerCopy.wParam, WPARAM(1));
    EXPECT_EQ(outerCopy.lParam, LPARAM(11));
    EXPECT_EQ(innerCopy.message, UINT(WM_COMMAND));
    EXPECT_EQ(innerCopy.wParam, WPARAM(2));
    EXPECT_EQ(innerCopy.lParam, LPARAM(22));
    EXPECT_EQ(innerCopy.hwnd, window);
    EXPECT_EQ(outerAfterInner, outerDuring) << "back to the outer message after the inner one";
    EXPECT_EQ(outerAfterCopy.wParam, WPARAM(1));
    EXPECT_EQ(dialog.currentMessage, nullptr);
}

TEST_F(DialogBindingTest, HandlerDestroyingItsOwnWindowStillAnswersTrue)
{
    ScriptedDialog dialog;
    dialog.handler = [](ScriptedDialog& self, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message == WM_INITDIALOG) {
            result = TRUE;
            return true;
        }
        if (message == WM_COMMAND) {
            DestroyWindow(self.window);
            result = 0x77;
            return true;
        }
        return false;
    };
    HWND window = CreateBound(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.BoundProcedure()(window, WM_COMMAND, IDCANCEL, 0), TRUE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.window, nullptr);
    ASSERT_EQ(dialog.lastCalls.size(), 1u);
    EXPECT_EQ(dialog.lastCalls[0].argument, window);
    EXPECT_EQ(dialog.currentMessage, nullptr);
}

TEST_F(DialogBindingTest, NonZeroSelectorLeavesTheResultUntouched)
{
    MainDialog mainDialog;
    AboutDialog about;
    for (DWORD selector : {DWORD(1), DWORD(0xFFFFFFFF)}) {
        LRESULT result = kUntouched;
        EXPECT_FALSE(mainDialog.HandleMessage(nullptr, WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED), 0, result,
                                              selector));
        EXPECT_EQ(result, kUntouched);
        EXPECT_FALSE(about.HandleMessage(nullptr, WM_COMMAND, IDOK, 0, result, selector));
        EXPECT_EQ(result, kUntouched);
    }
    // The same rows answer with the selector the routing procedure passes.
    LRESULT result = kUntouched;
    EXPECT_TRUE(mainDialog.HandleMessage(nullptr, WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED), 0, result, 0));
    result = kUntouched;
    EXPECT_TRUE(about.HandleMessage(nullptr, WM_COMMAND, IDOK, 0, result, 0));
    EXPECT_EQ(result, 0);
}

// ------------------------------------------------------ the trampoline memory

TEST_F(DialogBindingTest, BoundProcedureLivesInExecuteReadMemoryReleasedWithTheObject)
{
    const void* code = nullptr;
    {
        ScriptedDialog dialog;
        HWND window = CreateBound(dialog);
        ASSERT_NE(window, nullptr);
        code = reinterpret_cast<const void*>(dialog.BoundProcedure());
        ASSERT_NE(code, nullptr);
        EXPECT_EQ(DialogProcedureOf(window), reinterpret_cast<LONG_PTR>(code));
        const MEMORY_BASIC_INFORMATION info = Query(code);
        EXPECT_EQ(info.State, DWORD(MEM_COMMIT));
        EXPECT_EQ(info.Protect, DWORD(PAGE_EXECUTE_READ));
        EXPECT_EQ(Query(&dialog).Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE), 0u)
            << "the object itself stays data";
        DestroyWindow(window);
    }
    EXPECT_EQ(Query(code).State, DWORD(MEM_FREE));
}

// ---------------------------------------------------------- the record list

// A thread of its own that runs one task at a time on request.
class WorkerThread {
public:
    WorkerThread()
    {
        wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        thread.Start([this] { Main(); });
        // Started before the caller goes on: the two run at once as little as possible.
        WaitForSingleObject(done, 20000);
    }
    ~WorkerThread()
    {
        Start(nullptr);
        thread.Join();
        CloseHandle(done);
        CloseHandle(wake);
    }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void Start(std::function<void()> next)
    {
        task = std::move(next);
        SetEvent(wake);
    }
    void Wait() { ASSERT_EQ(WaitForSingleObject(done, 20000), WAIT_OBJECT_0) << "worker task did not end"; }
    void Run(std::function<void()> next)
    {
        Start(std::move(next));
        Wait();
    }

    DWORD id = 0;

private:
    void Main()
    {
        id = GetCurrentThreadId();
        SetEvent(done);
        for (;;) {
            WaitForSingleObject(wake, INFINITE);
            if (!task)
                return;
            task();
            SetEvent(done);
        }
    }

    HANDLE wake = nullptr;
    HANDLE done = nullptr;
    std::function<void()> task;
    JoinedThread thread;
};

DWORD ThreadOf(HWND window)
{
    return GetWindowThreadProcessId(window, nullptr);
}

TEST_F(DialogBindingTest, NewestRecordOfTheThreadIsTakenFromTheHead)
{
    ScriptedDialog older, newer;
    appModule.RegisterCreateRecord(older.Record(), &older);
    appModule.RegisterCreateRecord(newer.Record(), &newer);
    ASSERT_EQ(appModule.createRecordList, newer.Record());
    EXPECT_EQ(newer.Record()->object, &newer);
    EXPECT_EQ(newer.Record()->threadId, GetCurrentThreadId());
    EXPECT_EQ(newer.Record()->next, older.Record());
    EXPECT_EQ(older.Record()->next, nullptr);

    const DialogTemplate memory;
    HWND first = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, BindingProcedure, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(newer.window, first);
    EXPECT_EQ(older.window, nullptr);
    EXPECT_EQ(appModule.createRecordList, older.Record());
    EXPECT_EQ(older.Record()->next, nullptr);

    HWND second = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, BindingProcedure, 0);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(older.window, second);
    EXPECT_EQ(appModule.createRecordList, nullptr);
}

TEST_F(DialogBindingTest, RecordOfThisThreadIsTakenFromBehindAnotherThreadsRecord)
{
    WorkerThread other;
    ScriptedDialog otherOlder, mine, otherNewer;
    // Newest first the list becomes: otherNewer, mine, otherOlder.
    other.Run([&] { appModule.RegisterCreateRecord(otherOlder.Record(), &otherOlder); });
    appModule.RegisterCreateRecord(mine.Record(), &mine);
    other.Run([&] { appModule.RegisterCreateRecord(otherNewer.Record(), &otherNewer); });
    ASSERT_EQ(appModule.createRecordList, otherNewer.Record());
    EXPECT_EQ(otherNewer.Record()->threadId, other.id);

    const DialogTemplate memory;
    HWND window = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, BindingProcedure, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(mine.window, window);
    EXPECT_EQ(appModule.createRecordList, otherNewer.Record()) << "the other thread's record stays at the head";
    EXPECT_EQ(otherNewer.Record()->next, otherOlder.Record());
    EXPECT_EQ(otherOlder.Record()->next, nullptr);
    EXPECT_EQ(otherNewer.window, nullptr);
    EXPECT_EQ(otherOlder.window, nullptr);

    HWND newerWindow = nullptr, olderWindow = nullptr;
    other.Run([&] {
        newerWindow = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, BindingProcedure, 0);
        olderWindow = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, BindingProcedure, 0);
    });
    EXPECT_EQ(otherNewer.window, newerWindow);
    EXPECT_EQ(otherOlder.window, olderWindow);
    EXPECT_EQ(ThreadOf(newerWindow), other.id);
    EXPECT_EQ(appModule.createRecordList, nullptr);
    other.Run([&] {
        DestroyWindow(newerWindow);
        DestroyWindow(olderWindow);
    });
    EXPECT_EQ(otherNewer.lastCalls.size(), 1u);
    EXPECT_EQ(otherOlder.lastCalls.size(), 1u);
}

// 32-bit Wine runs here only under a user-mode emulator, which brings the whole
// process down as soon as two of its threads run at the same time.
bool ThreadsCanRunAtOnce()
{
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return sizeof(void*) == 8 || !wine;
}

TEST_F(DialogBindingTest, TwoThreadsCreatingDialogsEachBindTheirOwn)
{
    WorkerThread first, second;
    const DialogTemplate memory;
    // A bystander record of this thread, which neither worker may take.
    ScriptedDialog bystander;
    appModule.RegisterCreateRecord(bystander.Record(), &bystander);
    // Both records are linked before either window is asked for. Where threads
    // cannot run at once the workers take turns: the first then finds its
    // record between the second's and the bystander's.
    const bool atOnce = ThreadsCanRunAtOnce();

    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        ScriptedDialog firstDialog, secondDialog;
        HWND firstWindow = nullptr, secondWindow = nullptr;
        HANDLE firstReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE secondReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        auto registration = [](ScriptedDialog& dialog, HANDLE ready, HANDLE otherReady) {
            return [&dialog, ready, otherReady] {
                appModule.RegisterCreateRecord(dialog.Record(), &dialog);
                SetEvent(ready);
                WaitForSingleObject(otherReady, 20000);
            };
        };
        auto creation = [&memory](HWND& window) {
            return [&memory, &window] {
                window = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr,
                                                    BindingProcedure, 0);
            };
        };
        auto both = [](std::function<void()> one, std::function<void()> two) {
            return [one, two] {
                one();
                two();
            };
        };
        if (atOnce) {
            first.Start(both(registration(firstDialog, firstReady, secondReady), creation(firstWindow)));
            second.Start(both(registration(secondDialog, secondReady, firstReady), creation(secondWindow)));
            first.Wait();
            second.Wait();
        } else {
            SetEvent(firstReady);
            SetEvent(secondReady);
            first.Run(registration(firstDialog, firstReady, secondReady));
            second.Run(registration(secondDialog, secondReady, firstReady));
            ASSERT_EQ(appModule.createRecordList, secondDialog.Record());
            first.Run(creation(firstWindow));
            EXPECT_EQ(appModule.createRecordList, secondDialog.Record());
            EXPECT_EQ(secondDialog.Record()->next, bystander.Record());
            second.Run(creation(secondWindow));
        }
        CloseHandle(firstReady);
        CloseHandle(secondReady);

        ASSERT_NE(firstWindow, nullptr);
        ASSERT_NE(secondWindow, nullptr);
        EXPECT_EQ(firstDialog.window, firstWindow);
        EXPECT_EQ(secondDialog.window, secondWindow);
        EXPECT_EQ(ThreadOf(firstWindow), first.id);
        EXPECT_EQ(ThreadOf(secondWindow), second.id);
        EXPECT_EQ(appModule.createRecordList, bystander.Record());
        EXPECT_EQ(bystander.Record()->next, nullptr);
        first.Run([&] { DestroyWindow(firstWindow); });
        second.Run([&] { DestroyWindow(secondWindow); });
        EXPECT_EQ(firstDialog.lastCalls.size(), 1u);
        EXPECT_EQ(secondDialog.lastCalls.size(), 1u);
    }
    EXPECT_EQ(bystander.window, nullptr);
}

// No memory for the stub (an executable-memory policy, say): nothing could
// ever answer the box, so it must end before it shows and give its owner back.
class UnbindableDialog final : public DialogBase {
public:
    BOOL HandleMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
    BOOL WriteTrampoline(RoutingProc) override { return FALSE; }
};

TEST_F(DialogBindingTest, ABoxThatCannotBeBoundEndsAtOnceAndEnablesItsOwner)
{
    ScriptedDialog owner;
    ASSERT_NE(CreateBound(owner), nullptr);
    UnbindableDialog box;
    const DWORD start = GetTickCount();
    box.RunModal(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_ABOUT), owner.window);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(box.window, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner.window));
}

// An exception from a handler must not unwind through the system's frames;
// the message then counts as unhandled and the dialog goes on.
TEST_F(DialogBindingTest, AnExceptionInAHandlerStopsAtTheRoutingProcedure)
{
    ScriptedDialog dialog;
    dialog.handler = [](ScriptedDialog&, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message == WM_APP)
            throw std::length_error("junk");
        result = 7;
        return message == WM_APP + 1;
    };
    HWND window = CreateBound(dialog);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, 3);
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_APP + 1, 0, 0), 7);
}

TEST_F(DialogBindingTest, WithoutARecordOfItsThreadTheWindowStaysUnbound)
{
    EXPECT_EQ(BindingProcedure(nullptr, WM_APP, 0, 0), FALSE);

    WorkerThread other;
    ScriptedDialog othersDialog;
    other.Run([&] { appModule.RegisterCreateRecord(othersDialog.Record(), &othersDialog); });

    const DialogTemplate memory;
    HWND window = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), memory.Get(), nullptr, BindingProcedure, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(DialogProcedureOf(window), reinterpret_cast<LONG_PTR>(BindingProcedure));
    EXPECT_EQ(othersDialog.window, nullptr);
    EXPECT_TRUE(othersDialog.seen.empty());
    EXPECT_EQ(appModule.createRecordList, othersDialog.Record());
    DestroyWindow(window);
    EXPECT_EQ(appModule.createRecordList, othersDialog.Record());
}

TEST_F(DialogBindingTest, RecordOfAFailedCreationIsUnlinkedWhenItsObjectEnds)
{
    HMODULE withoutTemplates = GetModuleHandleA("kernel32.dll");
    ScriptedDialog older;
    appModule.RegisterCreateRecord(older.Record(), &older);
    {
        ScriptedDialog failed;
        EXPECT_EQ(failed.CreateModeless(withoutTemplates, MAKEINTRESOURCEW(IDD_MAIN)), nullptr);
        EXPECT_EQ(appModule.createRecordList, failed.Record()) << "never taken: no message was sent";
    }
    EXPECT_EQ(appModule.createRecordList, older.Record());
    {
        ScriptedDialog failed;
        EXPECT_EQ(failed.RunModal(withoutTemplates, MAKEINTRESOURCEW(IDD_ABOUT)), -1);
    }
    EXPECT_EQ(appModule.createRecordList, older.Record());
    EXPECT_EQ(older.Record()->next, nullptr);

    // The older record is still good for a window of its own.
    HWND window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), DialogTemplate().Get(), nullptr,
                                             BindingProcedure, 0);
    EXPECT_EQ(older.window, window);
}

}  // namespace
