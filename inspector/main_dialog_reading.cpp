#include "inspector/main_dialog.h"

#include <cstdio>
#include <new>
#include <string>

#include "inspector/list_reader.h"
#include "inspector/ole_text.h"
#include "res/resource.h"

namespace {

// The items of the list in the ANSI code page, each followed by CR LF. Text
// too large to hold counts as no text: the box is then emptied, as for a
// list that cannot be read.
std::string ContentsText(HWND list)
{
    try {
        const OleText contents = OleText::FromWide(ReadListText(list));
        return contents.ToAnsi(CP_ACP);
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

}  // namespace

void MainDialog::OnWindowSelected(HWND picked)
{
    char handleText[32] = {};
    // Window handles carry 32 significant bits on every platform.
    std::snprintf(handleText, sizeof(handleText), "0x%x",
                  static_cast<unsigned int>(reinterpret_cast<UINT_PTR>(picked)));
    char windowText[512] = {};
    GetWindowTextA(picked, windowText, sizeof(windowText));
    SetDlgItemTextA(window, IDC_WINDOW_TEXT, windowText);
    SetDlgItemTextA(window, IDC_WINDOW_HANDLE, handleText);
}

LRESULT MainDialog::OnGetCount(BOOL& /*handled*/)
{
    char sentence[64] = {};
    std::snprintf(sentence, sizeof(sentence), "ListBox contains %d items", ReadListCount(selected));
    SetDlgItemTextA(window, IDC_LIST_COUNT, sentence);
    return 0;
}

LRESULT MainDialog::OnGetContents(BOOL& /*handled*/)
{
    SetDlgItemTextA(window, IDC_CONTENTS, ContentsText(selected).c_str());
    return 0;
}

LRESULT MainDialog::OnClear(BOOL& /*handled*/)
{
    SetDlgItemTextA(window, IDC_CONTENTS, "");
    return 0;
}
