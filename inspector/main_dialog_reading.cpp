#include "inspector/main_dialog.h"

#include <cstdio>
#include <string>

#include "inspector/contents_read.h"
#include "inspector/item_reader.h"
#include "inspector/window_text.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kReadTimer = 1;
// A slice of messages: short enough that a key press waits no longer than
// that, long enough that the timer between slices costs nothing measurable.
constexpr DWORD kReadSlice = 30;  // milliseconds
constexpr char kCaption[] = "Quarvel";

// 45000 as "45,000".
std::wstring Grouped(int number)
{
    std::wstring digits = std::to_wstring(number < 0 ? 0 : number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), 1, L',');
    return digits;
}

}  // namespace

void MainDialog::OnWindowSelected(HWND picked)
{
    // A read of the window picked before ends; what it had not shown yet is
    // dropped, and the box keeps what it shows.
    CancelContentsRead();
    char handleText[32] = {};
    // Window handles carry 32 significant bits on every platform.
    std::snprintf(handleText, sizeof(handleText), "0x%x",
                  static_cast<unsigned int>(reinterpret_cast<UINT_PTR>(picked)));
    SetDlgItemTextA(window, IDC_WINDOW_TEXT, ShownWindowText(picked).c_str());
    SetDlgItemTextA(window, IDC_WINDOW_HANDLE, handleText);
}

LRESULT MainDialog::OnGetCount(BOOL& /*handled*/)
{
    const std::string sentence = CountSentence(ReaderFor(selected)->Count());
    SetDlgItemTextA(window, IDC_LIST_COUNT, sentence.c_str());
    return 0;
}

// The first slice is read at once: a short list is shown before the click
// returns. A longer one goes on from the timer, whose messages come after the
// user's input, so the dialog keeps answering while it reads.
LRESULT MainDialog::OnGetContents(BOOL& /*handled*/)
{
    // Sent in the middle of a slice (never by the button itself): the read
    // under way is not pulled from under its own feet.
    if (slicing)
        return 0;
    CancelContentsRead();
    contentsRead = std::make_unique<ContentsRead>(ReaderFor(selected));
    ContinueContentsRead();
    return 0;
}

LRESULT MainDialog::OnTimer(WPARAM timer, BOOL& handled)
{
    if (timer != kReadTimer) {
        handled = FALSE;
        return 0;
    }
    ContinueContentsRead();
    return 0;
}

LRESULT MainDialog::OnClear(BOOL& /*handled*/)
{
    CancelContentsRead();
    SetDlgItemTextA(window, IDC_CONTENTS, "");
    return 0;
}

void MainDialog::ContinueContentsRead()
{
    // A slice waits on the other program, and a message sent to the dialog
    // meanwhile is handled inside it: one that starts or cancels a read only
    // marks this one as abandoned.
    if (!contentsRead || slicing)
        return;
    slicing = true;
    ContentsRead* read = contentsRead.get();
    const bool more = read->Continue(kReadSlice);
    slicing = false;
    if (abandoned) {
        abandoned = false;
        CancelContentsRead();
        return;
    }
    if (more) {
        ShowProgress(read->Handled(), read->Expected());
        // Set once: setting it again would restart its wait after every slice.
        // A slice outlasts the period, so the next is due as soon as the
        // input that came in meanwhile has been handled.
        if (!timerSet)
            timerSet = SetTimer(window, kReadTimer, USER_TIMER_MINIMUM, nullptr) != 0;
        return;
    }
    SetDlgItemTextA(window, IDC_CONTENTS, read->Text());
    CancelContentsRead();
}

void MainDialog::CancelContentsRead()
{
    if (slicing) {
        abandoned = true;
        return;
    }
    if (!contentsRead)
        return;
    KillTimer(window, kReadTimer);
    timerSet = false;
    contentsRead.reset();
    SetWindowTextA(window, kCaption);
}

bool MainDialog::IsReading() const
{
    return contentsRead != nullptr;
}

void MainDialog::ShowProgress(int handled, int expected)
{
    // Wide, so the dash needs no particular code page.
    const std::wstring caption =
        L"Quarvel \u2014 " + Grouped(handled) + L" of " + Grouped(expected) + L" items";
    SetWindowTextW(window, caption.c_str());
}
