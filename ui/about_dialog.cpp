#include "ui/about_dialog.h"

#include "app/center.h"

BOOL AboutDialog::HandleMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM /*lParam*/,
                                LRESULT& result, DWORD selector)
{
    if (selector != 0)
        return FALSE;
    if (message == WM_INITDIALOG) {
        CenterDialog(window, GetParent(window));
        result = TRUE;
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        result = 0;
        return TRUE;
    }
    return FALSE;
}
