#include "readers/sliced_read.h"

#include <utility>

#include "readers/tabbed_lines.h"

SlicedRead::SlicedRead(std::unique_ptr<ItemReader> reader, HWND timerWindow, UINT_PTR timerId, DWORD budget)
    : reader(std::move(reader)), pace([this] { return cancelAsked; }), timerWindow(timerWindow),
      timerId(timerId), budget(budget), kind(this->reader->Kind())
{
    this->reader->SetPace(&pace);
}

SlicedRead::~SlicedRead()
{
    StopTimer();
}

ReadState SlicedRead::Continue()
{
    if (state != ReadState::reading || inSlice)
        return state;
    inSlice = true;
    // The readers throw only what the standard containers throw: no memory,
    // or a size past what one can hold. Either way the read ends here with
    // what it had, and the caller can start the next.
    try {
        Slice();
    } catch (...) {
        if (reader) {
            expected = reader->Expected();
            handled = reader->Handled();
        }
        try {
            Keep();
        } catch (...) {
        }
        Finish(ReadState::done, ReadEnd::noMemory);
    }
    inSlice = false;
    if (cancelAsked && state == ReadState::reading)
        Finish(ReadState::cancelled, ReadEnd::complete);
    return state;
}

void SlicedRead::ContinueLater()
{
    if (!timerSet && timerWindow && state == ReadState::reading)
        timerSet = SetTimer(timerWindow, timerId, USER_TIMER_MINIMUM, nullptr) != 0;
}

void SlicedRead::Cancel()
{
    if (state != ReadState::reading)
        return;
    if (inSlice)
        cancelAsked = true;
    else
        Finish(ReadState::cancelled, ReadEnd::complete);
}

void SlicedRead::Slice()
{
    const DWORD start = GetTickCount();
    pace.StartSlice(budget);
    TabbedLines sink(lines);
    bool more = true;
    do {
        more = reader->ReadNext(sink);
    } while (more && !cancelAsked && !pace.Held() && GetTickCount() - start < budget);
    expected = reader->Expected();
    handled = reader->Handled();
    if (!Keep()) {
        Finish(ReadState::done, ReadEnd::noMemory);
        return;
    }
    if (!more) {
        Finish(ReadState::done, reader->Ending());
        return;
    }
    // Set once: setting it again would restart its wait after every slice.
    // A slice outlasts the period, so the next is due as soon as the input
    // that came in meanwhile has been handled.
    ContinueLater();
}

bool SlicedRead::Keep()
{
    if (lines.empty())
        return true;
    const bool kept = text.Append(lines.data(), lines.size());
    lines.clear();
    return kept;
}

// The reader goes at once: the memory it holds in the other program is
// given back as soon as the read is over, however it ended.
void SlicedRead::Finish(ReadState final, ReadEnd end)
{
    state = final;
    ending = end;
    StopTimer();
    reader.reset();
    std::wstring().swap(lines);
    if (end == ReadEnd::needs64Bit)
        text = GatheredText();
}

void SlicedRead::StopTimer()
{
    if (timerSet)
        KillTimer(timerWindow, timerId);
    timerSet = false;
}

std::wstring CutShortSentence(const char* kind, int expected, ReadEnd end)
{
    const wchar_t* why = nullptr;
    switch (end) {
    case ReadEnd::noMemory:
        why = L"out of memory";
        break;
    case ReadEnd::limit:
        why = L"its answers ran past what it holds";
        break;
    case ReadEnd::needs64Bit:
        return CountSentence(CountReport{kind, expected, CountProblem::needs64Bit});
    case ReadEnd::complete:
    case ReadEnd::refused:
    case ReadEnd::silent:
        return std::wstring();
    }
    return KindName(kind) + L" contains " + std::to_wstring(expected) + L" items, read cut short: " + why;
}
