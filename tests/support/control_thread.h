// A target for the list readers: a hidden top-level window with one control
// (a list box unless told otherwise), owned by a thread of its own that pumps
// messages, so that every message to it crosses threads as it would cross to
// another program. The thread can be made to stop answering.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/scoped.h"
#include "tools/joined_thread.h"
#include "tests/support/test_window.h"

namespace list_test {

// A manual-reset event, unset at first.
class EventHandle {
public:
    void Set() { SetEvent(handle.Get()); }
    bool Wait(DWORD milliseconds) { return WaitForSingleObject(handle.Get(), milliseconds) == WAIT_OBJECT_0; }

private:
    ScopedHandle handle{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

struct ControlSetup {
    std::vector<std::string> items;  // ANSI, added in order with LB_ADDSTRING
    const char* controlClass = "LISTBOX";
    DWORD style = LBS_NOTIFY;
    std::string controlText;
    // Run on the control's thread once it exists: fills it, or scripts its
    // answers (tests/support/scripted_control.h).
    std::function<void(HWND control)> prepare;
    // The control stops answering when asked for the length of this item.
    int blockOnItem = -1;
};

class ControlThread {
public:
    explicit ControlThread(ControlSetup setup) : setup(std::move(setup))
    {
        thread.Start([this] { Run(); });
        ready.Wait(60000);
    }
    ~ControlThread()
    {
        Resume();
        if (host)
            PostMessageA(host, WM_CLOSE, 0, 0);
        thread.Join();
    }
    ControlThread(const ControlThread&) = delete;
    ControlThread& operator=(const ControlThread&) = delete;

    HWND Host() const { return host; }
    HWND Control() const { return control; }

    // The thread stops taking messages until Resume; returns once it has.
    void Freeze()
    {
        PostMessageA(host, kFreezeMessage, 0, 0);
        blocked.Wait(10000);
    }
    // True once the control has stopped answering at its blocking item.
    bool IsBlocked() { return blocked.Wait(0); }
    void Resume() { resume.Set(); }
    void DestroyControl() { SendMessageA(host, kDestroyControlMessage, 0, 0); }

private:
    static constexpr UINT kFreezeMessage = WM_APP + 1;
    static constexpr UINT kDestroyControlMessage = WM_APP + 2;

    void Run()
    {
        dialog_test::TestWindow hostWindow(RECT{0, 0, 400, 300}, WS_OVERLAPPEDWINDOW, nullptr, "list test host");
        hostWindow.OnMessage([this](UINT message, WPARAM, LPARAM, LRESULT& result) {
            return OnHostMessage(message, result);
        });
        host = hostWindow;
        control = CreateWindowExA(0, setup.controlClass, setup.controlText.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | setup.style, 0, 0, 380, 260, host,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(101)), GetModuleHandleA(nullptr),
                                  nullptr);
        Fill();
        if (setup.prepare)
            setup.prepare(control);
        if (setup.blockOnItem >= 0)
            Subclass();
        ready.Set();
        MSG message = {};
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    void Fill()
    {
        if (setup.items.empty())
            return;
        SendMessageA(control, WM_SETREDRAW, FALSE, 0);
        SendMessageA(control, LB_INITSTORAGE, setup.items.size(), LPARAM(setup.items.size() * 32));
        for (const std::string& item : setup.items)
            SendMessageA(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    }

    void Subclass()
    {
        SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        controlProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BlockingProcedure)));
    }

    // Blocks inside a message: the thread takes no other message meanwhile.
    void StopAnswering()
    {
        blocked.Set();
        resume.Wait(INFINITE);
    }

    bool OnHostMessage(UINT message, LRESULT& result)
    {
        result = 0;
        switch (message) {
        case kFreezeMessage:
            StopAnswering();
            return true;
        case kDestroyControlMessage:
            DestroyWindow(control);
            return true;
        case WM_DESTROY:
            PostQuitMessage(0);
            return true;
        default:
            return false;
        }
    }

    static LRESULT CALLBACK BlockingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<ControlThread*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == LB_GETTEXTLEN && static_cast<int>(wParam) == self->setup.blockOnItem)
            self->StopAnswering();
        return CallWindowProcA(self->controlProcedure, window, message, wParam, lParam);
    }

    ControlSetup setup;
    EventHandle ready;
    EventHandle blocked;
    EventHandle resume;
    HWND host = nullptr;
    HWND control = nullptr;
    WNDPROC controlProcedure = nullptr;
    JoinedThread thread;
};

// A control class of the tests' own, answering as a list would; wide, as
// the system's controls are.
inline void RegisterControlClass(const wchar_t* name, WNDPROC procedure)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);  // fails harmlessly once registered
}

// Items as the ANSI code page holds them, from wide text.
inline std::string InAnsiCodePage(const wchar_t* wide)
{
    char ansi[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), nullptr, nullptr);
    return ansi;
}

}  // namespace list_test
