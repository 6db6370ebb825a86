#include "ui/main_dialog.h"

#include <cwchar>
#include <string>

#include "readers/sliced_read.h"
#include "ui/contents_box.h"
#include "ui/window_text.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kReadTimer = 1;

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
    wchar_t handleText[32] = {};
    // Window handles carry 32 significant bits on every platform.
    std::swprintf(handleText, sizeof(handleText) / sizeof(handleText[0]), L"0x%x",
                  static_cast<unsigned int>(reinterpret_cast<UINT_PTR>(picked)));
    SetDlgItemTextW(window, IDC_WINDOW_TEXT, ShownWindowText(picked).c_str());
    SetDlgItemTextW(window, IDC_WINDOW_HANDLE, handleText);
}

LRESULT MainDialog::OnGetCount(BOOL& /*handled*/)
{
    const std::wstring sentence = CountSentence(chooseReader(selected, kListReplyTimeout)->Count());
    SetDlgItemTextW(window, IDC_LIST_COUNT, sentence.c_str());
    return 0;
}

// The first slice is read at once: a short list is shown before the click
// returns. A longer one goes on from the timer, whose messages come after the
// user's input, so the dialog keeps answering while it reads.
LRESULT MainDialog::OnGetContents(BOOL& /*handled*/)
{
    // Sent in the middle of a slice (never by the button itself): the read
    // under way is not pulled from under its own feet.
    if (contentsRead && contentsRead->InSlice())
        return 0;
    EndContentsRead();
    const DWORD asked = GetTickCount();
    contentsRead = std::make_unique<SlicedRead>(chooseReader(selected, kListReplyTimeout), window, kReadTimer);
    // Choosing the reader may ask the control what it is: a program that
    // took a slice's time to answer has the input that came meanwhile handled
    // before its next question.
    if (GetTickCount() - asked >= kReadSlice)
        contentsRead->ContinueLater();
    else
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
    SetDlgItemTextW(window, IDC_CONTENTS, L"");
    return 0;
}

void MainDialog::ContinueContentsRead()
{
    if (!contentsRead)
        return;
    switch (contentsRead->Continue()) {
    case ReadState::reading:
        ShowProgress(contentsRead->Handled(), contentsRead->Expected());
        return;
    case ReadState::done:
        ShowContents();
        EndContentsRead();
        return;
    case ReadState::cancelled:
        EndContentsRead();
        return;
    }
}

// Only a read cut short by Quarvel's own limits is explained on the count
// line; a control that went silent shows what it gave, as ever.
void MainDialog::ShowContents()
{
    if (!FillContentsBox(GetDlgItem(window, IDC_CONTENTS), contentsRead->TextToMove()))
        SetDlgItemTextW(window, IDC_CONTENTS, contentsRead->Text());
    const std::wstring cutShort =
        CutShortSentence(contentsRead->Kind(), contentsRead->Expected(), contentsRead->Ending());
    if (!cutShort.empty())
        SetDlgItemTextW(window, IDC_LIST_COUNT, cutShort.c_str());
}

// A read in the middle of a slice ends when the slice returns.
void MainDialog::CancelContentsRead()
{
    if (!contentsRead)
        return;
    contentsRead->Cancel();
    if (!contentsRead->InSlice())
        EndContentsRead();
}

void MainDialog::EndContentsRead()
{
    if (!contentsRead)
        return;
    contentsRead.reset();
    SetWindowTextW(window, kDialogCaption);
}

bool MainDialog::IsReading() const
{
    return contentsRead != nullptr;
}

void MainDialog::ShowProgress(int handled, int expected)
{
    const std::wstring caption =
        L"Quarvel \u2014 " + Grouped(handled) + L" of " + Grouped(expected) + L" items";
    SetWindowTextW(window, caption.c_str());
}
