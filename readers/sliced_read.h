// A Get Contents in progress, and everything it holds: the reader, the text
// gathered so far, the time budget of a slice, the timer that brings the next
// slice, and where the read stands. The picked control is read a slice at a
// time so that the caller answers its user in between; the text is gathered
// as UTF-16, as the controls answered it and as the box takes it, where it
// stays until the box takes it: no code page touches it, and a long read
// costs Quarvel little more than the text itself.
//
// The slice's budget is checked between questions to the other program, not
// only between a reader's steps: a slice ends after the first question past
// it, so a program that answers slowly keeps the caller waiting no longer
// than one question. A slice waits on the other program, and whatever is
// sent to the caller meanwhile is handled inside it: a Cancel then marks the
// read, which asks no further question and ends when the slice returns.
// Nothing a reader throws leaves a slice: the read ends with what it had,
// and says why.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "readers/gathered_text.h"
#include "readers/item_reader.h"
#include "readers/read_limits.h"
#include "readers/remote/read_pace.h"

enum class ReadState {
    reading,
    done,       // Ending() says how; Text() holds what was read
    cancelled,  // what was read is dropped
};

class SlicedRead {
public:
    // While more slices are due, `timerWindow` gets WM_TIMER `timerId` and is
    // to call Continue for it; without a window the caller calls Continue
    // until the read is over.
    explicit SlicedRead(std::unique_ptr<ItemReader> reader, HWND timerWindow = nullptr, UINT_PTR timerId = 0,
                        DWORD budget = kReadSlice);
    ~SlicedRead();
    SlicedRead(const SlicedRead&) = delete;
    SlicedRead& operator=(const SlicedRead&) = delete;

    // Reads for about one budget (at least one question). Does nothing once
    // the read is over, or when called from inside its own slice.
    ReadState Continue();
    // The next slice comes from the timer, after the caller's input.
    void ContinueLater();
    // The read ends at once, or at the end of the slice under way.
    void Cancel();

    ReadState State() const { return state; }
    bool InSlice() const { return inSlice; }
    // How the read ended, once done.
    ReadEnd Ending() const { return ending; }
    // The control's name in the count sentence.
    const char* Kind() const { return kind; }
    int Expected() const { return expected; }
    int Handled() const { return handled; }

    // The text read, zero-terminated; valid while the object lasts. None
    // when the read ended with needs64Bit: a partial tree is not shown.
    const wchar_t* Text() const { return text.Text(); }
    // The same, to be moved where it is shown.
    GatheredText& TextToMove() { return text; }
    // In UTF-16 units.
    std::size_t Size() const { return text.Size(); }

private:
    void Slice();
    bool Keep();
    void Finish(ReadState final, ReadEnd end);
    void StopTimer();

    std::unique_ptr<ItemReader> reader;
    ReadPace pace;
    HWND timerWindow;
    UINT_PTR timerId;
    DWORD budget;
    bool timerSet = false;
    bool inSlice = false;
    bool cancelAsked = false;
    ReadState state = ReadState::reading;
    ReadEnd ending = ReadEnd::complete;
    const char* kind;
    int expected = 0;
    int handled = 0;
    std::wstring lines;
    GatheredText text;
};

// A few words for the count line on a read that ended before its last item
// through no fault of the control's answers going silent ("ListView contains
// 5000 items, read cut short: out of memory", or the sentence that sends a
// 64-bit program's tree to the 64-bit Quarvel); empty for any other end.
std::wstring CutShortSentence(const char* kind, int expected, ReadEnd end);
