// Drives the real main dialog the way its buttons do: a picked window, then
// clicks that arrive as WM_COMMAND with BN_CLICKED, and the controls read back.
#pragma once

#include <windows.h>

#include <string>

#include "app/code_page.h"
#include "res/resource.h"
#include "tests/support/dialog_test_support.h"

namespace list_test {

class MainDialogDriver {
public:
    dialog_test::RunningMainDialog main;

    // What the finder does at the end of a drag onto `target`.
    void Pick(HWND target)
    {
        main.dialog.OnWindowSelected(target);
        main.dialog.selected = target;
    }

    // A click, and then the queue run until a read it started has ended.
    void Click(int id)
    {
        SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(main.Item(id)));
        while (main.dialog.IsReading())
            dialog_test::PumpMessages(&main.loop, 20);
    }

    // Texts go in and come out as UTF-8, as the tests write them, through
    // the wide functions: no code page stands between a test and the box.
    std::string Text(int id) const
    {
        HWND control = main.Item(id);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        const int copied = GetWindowTextW(control, &text[0], static_cast<int>(text.size()));
        return WideToAnsi(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0, CP_UTF8);
    }

    void SetText(int id, const std::string& text)
    {
        SetDlgItemTextW(main.window, id, AnsiToWide(text, CP_UTF8).c_str());
    }

    std::string Count() const { return Text(IDC_LIST_COUNT); }
    std::string Contents() const { return Text(IDC_CONTENTS); }
};

}  // namespace list_test
