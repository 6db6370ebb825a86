#include "inspector/main_dialog.h"

LRESULT MainDialog::OnCopyToClipboard(BOOL& /*handled*/)
{
    return 0;
}
