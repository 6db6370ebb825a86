#include "ui/main_dialog.h"

#include "app/module.h"
#include "ui/about_dialog.h"
#include "app/center.h"
#include "res/resource.h"

BOOL MainDialog::HandleMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result, DWORD selector)
{
    if (selector != 0)
        return FALSE;
    BOOL handled = TRUE;
    const WORD id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    switch (message) {
    case WM_INITDIALOG:
        result = OnDialogInit(handled);
        return handled;
    case WM_LBUTTONDOWN:
        result = OnButtonDownMessage(handled);
        return handled;
    case WM_MOUSEMOVE:
        result = OnMouseMoveMessage(lParam, handled);
        return handled;
    case WM_LBUTTONUP:
        result = OnButtonUpMessage(handled);
        return handled;
    case WM_CAPTURECHANGED:
        result = OnCaptureChangedMessage(handled);
        return handled;
    case WM_TIMER:
        result = OnTimer(wParam, handled);
        return handled;
    case WM_COMMAND:
        break;
    default:
        return FALSE;
    }

    // About and Cancel answer any notification code (an accelerator sends 1);
    // the other buttons only a click.
    if (id == IDC_ABOUT) {
        result = OnAbout(handled);
        return handled;
    }
    if (id == IDCANCEL) {
        result = OnCancel(handled);
        return handled;
    }
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_GET_COUNT:
        result = OnGetCount(handled);
        return handled;
    case IDC_GET_CONTENTS:
        result = OnGetContents(handled);
        return handled;
    case IDC_CLIPBOARD:
        result = OnCopyToClipboard(handled);
        return handled;
    case IDC_CLEAR:
        result = OnClear(handled);
        return handled;
    default:
        return FALSE;
    }
}

LRESULT MainDialog::OnDialogInit(BOOL& /*handled*/)
{
    CenterDialog(window);

    // Loaded once and kept for the life of the process: the window uses them
    // until it is gone.
    HANDLE bigIcon = LoadImageW(appModule.resourceInstance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    HANDLE smallIcon = LoadImageW(appModule.resourceInstance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    if (MessageLoop* loop = appModule.LoopForThread(GetCurrentThreadId())) {
        loop->RegisterFilter(this);
        loop->RegisterIdleHandler(this);
    }
    SetOwner(window);
    return TRUE;  // the dialog manager focuses the first tab stop
}

LRESULT MainDialog::OnCancel(BOOL& /*handled*/)
{
    DestroyWindow(window);
    PostQuitMessage(2);
    return 0;
}

BOOL MainDialog::FilterMessage(MSG* message)
{
    return IsDialogMessageW(window, message);
}

BOOL MainDialog::DoIdle()
{
    return FALSE;
}

LRESULT MainDialog::OnButtonDownMessage(BOOL& /*handled*/)
{
    OnButtonDown();
    return 0;
}

LRESULT MainDialog::OnMouseMoveMessage(LPARAM position, BOOL& /*handled*/)
{
    OnMouseMove(position);
    return 0;
}

LRESULT MainDialog::OnButtonUpMessage(BOOL& /*handled*/)
{
    OnButtonUp();
    return 0;
}

LRESULT MainDialog::OnCaptureChangedMessage(BOOL& /*handled*/)
{
    OnCaptureLost();
    return 0;
}

LRESULT MainDialog::OnAbout(BOOL& /*handled*/)
{
    AboutDialog about;
    HWND boxOwner = GetActiveWindow();
    about.RunModal(appModule.resourceInstance, MAKEINTRESOURCEW(IDD_ABOUT), boxOwner);
    return 0;
}
