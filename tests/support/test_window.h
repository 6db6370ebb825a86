// A window for the tests to place, watch or drive, of one class registered
// once for every test.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace dialog_test {

// The one window class of the tests: white, no frame, at a given screen
// rectangle (or, for a child, the parent's client rectangle; for a
// message-only window, HWND_MESSAGE as the parent). A handler set with
// OnMessage sees its messages first; what it leaves goes to the default
// procedure.
class TestWindow {
public:
    using Handler = std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)>;

    TestWindow(const RECT& rect, DWORD style = WS_POPUP | WS_VISIBLE, HWND parentOrOwner = nullptr,
               const char* text = "test window")
    {
        RegisterOnce();
        // Shown without activation: under Wine an activated top-level window
        // is handed to the (absent) window manager, and taking it down again
        // then waits two seconds for an answer that never comes.
        window = CreateWindowExA(0, kClassName, text, style & ~WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parentOrOwner, nullptr, GetModuleHandleA(nullptr), this);
        if (window && (style & WS_VISIBLE)) {
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            UpdateWindow(window);
        }
    }
    ~TestWindow()
    {
        if (window)
            DestroyWindow(window);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    operator HWND() const { return window; }
    void OnMessage(Handler handler) { this->handler = std::move(handler); }

private:
    static constexpr const char* kClassName = "QuarvelUiTestWindow";

    static void RegisterOnce()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);  // fails harmlessly once registered
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        LRESULT result = 0;
        if (self && self->handler && self->handler(message, wParam, lParam, result))
            return result;
        if (message == WM_NCDESTROY && self)
            self->window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window = nullptr;
    Handler handler;
};

}  // namespace dialog_test
