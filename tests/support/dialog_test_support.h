// Helpers for the tests of the main dialog, the About box, centring and the
// window finder: the main dialog created exactly as the run sequence creates
// it, plain test windows at known places (test_window.h), a pump that feeds the dialog's
// filter, and a watcher that acts on a modal box from inside its modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "app/dialog_base.h"
#include "app/message_loop.h"
#include "app/module.h"
#include "ui/main_dialog.h"
#include "res/resource.h"
#include "tests/support/test_window.h"

namespace dialog_test {

inline RECT WorkArea()
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

inline RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

inline LONG Width(const RECT& rect) { return rect.right - rect.left; }
inline LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

// Takes the quit message posted on this thread, if any; -1 when there is none.
inline int TakeQuitCode()
{
    MSG message = {};
    if (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return int(message.wParam);
    return -1;
}

// Runs the thread's queue for a while the way the program's loop does: the
// loop's filters first, translation and dispatch otherwise. A quit message is
// kept in the queue for the test to look at.
inline void PumpMessages(MessageLoop* loop, DWORD milliseconds = 50)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message = {};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(int(message.wParam));
                return;
            }
            if (!loop || !loop->PreprocessMessage(&message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

// The main dialog made as the run sequence makes it: its loop registered for
// the thread first, then the record, then the window from the template. The
// window is left hidden, as the template makes it.
class RunningMainDialog {
public:
    MessageLoop loop;
    MainDialog dialog;
    HWND window = nullptr;

    RunningMainDialog()
    {
        loopRegistered = appModule.RegisterLoop(&loop);
        window = dialog.CreateModeless(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_MAIN));
    }
    ~RunningMainDialog()
    {
        if (dialog.window)
            DestroyWindow(dialog.window);
        TakeQuitCode();
        if (loopRegistered)
            appModule.UnregisterLoop();
    }
    RunningMainDialog(const RunningMainDialog&) = delete;
    RunningMainDialog& operator=(const RunningMainDialog&) = delete;

    HWND Item(int id) const { return GetDlgItem(window, id); }

    // Shown and active as after the run sequence's ShowWindow.
    void Show()
    {
        ShowWindow(window, SW_SHOWNORMAL);
        SetForegroundWindow(window);
        UpdateWindow(window);
        PumpMessages(&loop);
    }

    // A key press handed to the dialog's filter, as the loop hands it over.
    BOOL FilterKey(WPARAM key)
    {
        MSG message = {};
        message.hwnd = GetFocus();
        message.message = WM_KEYDOWN;
        message.wParam = key;
        message.lParam = 1;
        message.time = GetTickCount();
        return dialog.FilterMessage(&message);
    }

private:
    BOOL loopRegistered = FALSE;
};

inline std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

inline std::string ClassNameOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct DialogSearch {
    const char* caption;
    HWND found;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (ClassNameOf(window) == "#32770" && WindowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Finds the thread's dialog window with the given caption.
inline HWND FindThreadDialog(const char* caption)
{
    DialogSearch search = {caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Acts on a modal box from inside the system's modal loop. A message posted
// before the box is made is the loop's first: it finds the box made and
// initialised but not shown yet, which spares the test Wine's two-second wait
// for the window manager when a shown captioned window is taken down. (A
// posted WM_TIMER would not do: after one, Wine's modal loop finds its queue
// empty and shows the box.) Boxes
// that must be seen on the screen are waited for with a timer instead. Should
// the action fail to close the box, the watcher ends it after a while so that
// the test cannot hang, and says so through forcedClose.
class ModalBoxWatcher {
public:
    using Action = std::function<void(HWND box)>;
    enum class When { Made, Shown };

    ModalBoxWatcher(const char* caption, Action action, When when = When::Made)
        : caption(caption), action(std::move(action)), when(when)
    {
        timerWindow = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(timerWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        previousProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(timerWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
        PostMessageA(timerWindow, WM_APP, 0, 0);
        SetTimer(timerWindow, 1, 20, nullptr);
    }
    ~ModalBoxWatcher()
    {
        KillTimer(timerWindow, 1);
        DestroyWindow(timerWindow);
    }
    ModalBoxWatcher(const ModalBoxWatcher&) = delete;
    ModalBoxWatcher& operator=(const ModalBoxWatcher&) = delete;

    HWND box = nullptr;        // the box the action ran on
    int actions = 0;           // how many boxes were acted on
    bool wasShown = false;     // the box was on the screen when acted on
    bool forcedClose = false;  // the action did not close the box

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<ModalBoxWatcher*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if ((message == WM_TIMER || message == WM_APP) && self) {
            self->OnTick();
            return 0;
        }
        return CallWindowProcA(self ? self->previousProcedure : DefWindowProcA, window, message, wParam, lParam);
    }

    void OnTick()
    {
        HWND found = FindThreadDialog(caption);
        if (!found || (when == When::Shown && !IsWindowVisible(found)))
            return;
        if (found != box) {
            box = found;
            ++actions;
            wasShown = IsWindowVisible(found) != FALSE;
            ticksSinceAction = 0;
            action(found);
            return;
        }
        if (++ticksSinceAction > 150) {
            forcedClose = true;
            EndDialog(found, 0);
        }
    }

    const char* caption;
    Action action;
    When when;
    HWND timerWindow = nullptr;
    WNDPROC previousProcedure = nullptr;
    int ticksSinceAction = 0;
};

}  // namespace dialog_test
