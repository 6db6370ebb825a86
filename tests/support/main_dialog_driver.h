// Drives the real main dialog the way its buttons do: a picked window, then
// clicks that arrive as WM_COMMAND with BN_CLICKED, and the controls read back.
#pragma once

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "tests/support/dialog_test_support.h"

namespace list_test {

class InspectorDialog {
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
        SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(main.Item(id)));
        while (main.dialog.IsReading())
            dialog_test::PumpMessages(&main.loop, 20);
    }

    std::string Text(int id) const
    {
        HWND control = main.Item(id);
        std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
        const int copied = GetWindowTextA(control, &text[0], static_cast<int>(text.size()));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }

    void SetText(int id, const std::string& text) { SetDlgItemTextA(main.window, id, text.c_str()); }

    std::string Count() const { return Text(IDC_LIST_COUNT); }
    std::string Contents() const { return Text(IDC_CONTENTS); }
};

}  // namespace list_test
