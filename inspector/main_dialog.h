// The program's main window: a modeless dialog that routes its messages to the
// window finder, the inspection commands, the clipboard export and the About
// box, and takes part in the thread's message loop.
#pragma once

#include <windows.h>

#include "app/dialog_base.h"
#include "app/message_loop.h"
#include "inspector/window_finder.h"

class MainDialog final : public DialogBase, public MessageFilter, public IdleHandler, public WindowFinder {
public:
    MainDialog() = default;
    ~MainDialog() = default;

    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       DWORD selector) override;
    BOOL FilterMessage(MSG* message) override;
    BOOL DoIdle() override;
    void OnWindowSelected(HWND window) override;

    LRESULT OnDialogInit(BOOL& handled);
    LRESULT OnAbout(BOOL& handled);
    LRESULT OnCancel(BOOL& handled);
    LRESULT OnGetCount(BOOL& handled);
    LRESULT OnGetContents(BOOL& handled);
    LRESULT OnCopyToClipboard(BOOL& handled);
    LRESULT OnClear(BOOL& handled);
    LRESULT OnButtonDownMessage(BOOL& handled);
    LRESULT OnMouseMoveMessage(LPARAM position, BOOL& handled);
    LRESULT OnButtonUpMessage(BOOL& handled);
};
