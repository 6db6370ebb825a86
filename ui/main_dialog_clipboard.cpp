#include "ui/main_dialog.h"

#include <new>
#include <string>

#include "ui/clipboard_text.h"
#include "res/resource.h"

namespace {

// Read wide: the box holds every character exactly whatever the process's
// code page. False when the box has text that cannot be read or held.
bool ReadBoxText(HWND box, std::wstring& text)
{
    try {
        const int length = GetWindowTextLengthW(box);
        if (length <= 0) {
            text.clear();
            return true;
        }
        text.assign(static_cast<size_t>(length) + 1, L'\0');
        const int copied = GetWindowTextW(box, &text[0], length + 1);
        if (copied <= 0)
            return false;
        text.resize(static_cast<size_t>(copied));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

LRESULT MainDialog::OnCopyToClipboard(BOOL& /*handled*/)
{
    HWND box = GetDlgItem(window, IDC_CONTENTS);
    if (!box)
        return -1;
    std::wstring text;
    if (!ReadBoxText(box, text))
        return -1;
    // A clipboard held by another program leaves everything as it was; the
    // caption says so until a copy goes through, without a box to dismiss.
    SetWindowTextW(window, PlaceTextOnClipboard(window, text) ? kDialogCaption : kClipboardBusyCaption);
    return 0;
}
