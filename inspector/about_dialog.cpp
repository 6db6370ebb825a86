#include "inspector/about_dialog.h"

#include "app/module.h"
#include "inspector/center.h"
#include "inspector/main_dialog.h"
#include "res/resource.h"

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

LRESULT MainDialog::OnAbout(BOOL& /*handled*/)
{
    AboutDialog about;
    HWND boxOwner = GetActiveWindow();
    appModule.RegisterCreateRecord(about.Record(), &about);
    // Returns once the box has been ended; a box that could not be made leaves
    // its record to the object's end, which unlinks it.
    DialogBoxParamA(appModule.resourceInstance, MAKEINTRESOURCEA(IDD_ABOUT), boxOwner, BindingProcedure, 0);
    return 0;
}
