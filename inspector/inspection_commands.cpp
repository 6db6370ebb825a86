#include "inspector/main_dialog.h"

void MainDialog::OnWindowSelected(HWND /*window*/)
{
}

LRESULT MainDialog::OnGetCount(BOOL& /*handled*/)
{
    return 0;
}

LRESULT MainDialog::OnGetContents(BOOL& /*handled*/)
{
    return 0;
}

LRESULT MainDialog::OnClear(BOOL& /*handled*/)
{
    return 0;
}
