#include "inspector/main_dialog.h"

#include <new>
#include <string>

#include "inspector/clipboard_text.h"
#include "inspector/ole_text.h"
#include "res/resource.h"

namespace {

// False when the box has text that cannot be read.
bool ReadBoxText(HWND box, std::string& text)
{
    const int length = GetWindowTextLengthA(box);
    if (length <= 0) {
        text.clear();
        return true;
    }
    text.assign(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(box, &text[0], length + 1);
    if (copied <= 0)
        return false;
    text.resize(static_cast<size_t>(copied));
    return true;
}

// The box's text as it goes to the clipboard: through wide text and back in
// the same code page, so the clipboard gets the bytes the box shows. False
// when the text cannot be read or held.
bool ExportText(HWND box, std::string& ansi)
{
    try {
        std::string boxText;
        if (!ReadBoxText(box, boxText))
            return false;
        const OleText text = OleText::FromAnsi(boxText, CP_ACP);
        if (!text)
            return false;
        ansi = text.ToAnsi(CP_ACP);
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
    std::string ansi;
    if (!ExportText(box, ansi))
        return -1;
    // A clipboard held by another program leaves everything as it was.
    PlaceTextOnClipboard(window, ansi);
    return 0;
}
