// The program's main window: a modeless dialog that takes part in the thread's
// message loop and routes its messages to handlers, one file per role:
//   main_dialog.cpp           the routing table, start, close, the finder's
//                             mouse messages and the About box
//   main_dialog_reading.cpp   what the picked window shows and holds: the
//                             pick, Get Count, Get Contents (a sliced read
//                             that the dialog starts, cancels and shows), Clear
//   main_dialog_clipboard.cpp the Clipboard button
#pragma once

#include <windows.h>

#include <memory>

#include "app/dialog_base.h"
#include "app/message_loop.h"
#include "readers/reader_choice.h"
#include "readers/sliced_read.h"
#include "ui/window_finder.h"

// The caption at rest, and while the last Clipboard click found the
// clipboard held by another program.
constexpr wchar_t kDialogCaption[] = L"Quarvel";
constexpr wchar_t kClipboardBusyCaption[] = L"Quarvel \u2014 clipboard busy, nothing copied";

class MainDialog final : public DialogBase, public MessageFilter, public IdleHandler, public WindowFinder {
public:
    MainDialog() = default;
    ~MainDialog() = default;

    // How a picked window gets its reader; tests put readers of their own.
    std::unique_ptr<ItemReader> (*chooseReader)(HWND window, UINT timeout) = ReaderFor;

    // main_dialog.cpp
    BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       DWORD selector) override;
    BOOL FilterMessage(MSG* message) override;
    BOOL DoIdle() override;
    LRESULT OnDialogInit(BOOL& handled);
    LRESULT OnAbout(BOOL& handled);
    LRESULT OnCancel(BOOL& handled);
    LRESULT OnButtonDownMessage(BOOL& handled);
    LRESULT OnMouseMoveMessage(LPARAM position, BOOL& handled);
    LRESULT OnButtonUpMessage(BOOL& handled);
    LRESULT OnCaptureChangedMessage(BOOL& handled);

    // main_dialog_reading.cpp
    void OnWindowSelected(HWND window) override;
    LRESULT OnGetCount(BOOL& handled);
    LRESULT OnGetContents(BOOL& handled);
    LRESULT OnClear(BOOL& handled);
    LRESULT OnTimer(WPARAM timer, BOOL& handled);
    // True while a Get Contents is still reading.
    bool IsReading() const;

    // main_dialog_clipboard.cpp
    LRESULT OnCopyToClipboard(BOOL& handled);

private:
    // main_dialog_reading.cpp
    void ContinueContentsRead();
    void CancelContentsRead();
    void EndContentsRead();
    void ShowProgress(int handled, int expected);
    void ShowContents();

    std::unique_ptr<SlicedRead> contentsRead;
};
