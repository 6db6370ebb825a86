// A control of another program, asked questions whose answers it writes into
// working memory in its own program. Every question waits a bounded time; one
// that goes unanswered leaves the memory to the program and ends the read.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "inspector/item_reader.h"
#include "inspector/remote_block.h"

// Wide characters a text slot holds at first; a text that fills it is asked
// for again with a larger one.
constexpr int kFirstTextSlot = 256;

// About how many questions one step of a reader asks: enough to share one
// write and one read of the program's memory, which cost about as much as a
// question, yet few enough that a step stays short against a slow program.
constexpr int kQuestionsPerStep = 24;

enum class TextAnswer {
    text,     // read whole
    refused,  // the control answered that it has no such item or column
    failed,   // no answer, or the memory failed: the read ends
};

class RemoteControl {
public:
    RemoteControl(HWND control, UINT timeout) : control(control), timeout(timeout) {}

    // Opens the program and a first block; the problem that prevents reading.
    CountProblem Open();

    // A count the control answers: 0 when it is gone (as for a list box), -1
    // when it did not answer in time or answered more than a list holds.
    int AskCount(UINT message);

    // False when the control is gone or did not answer in time.
    bool Ask(UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& reply);

    // Sends `message` with `record` (its own fields filled in) at the start of
    // the block and its text pointer aimed at a slot of `firstSlot` characters
    // right behind it; the record stays there for the caller to read back.
    TextAnswer AskText(UINT message, WPARAM wParam, const TextRecordLayout& layout, std::vector<unsigned char>& record,
                       bool replyIsSuccess, std::wstring& text, int firstSlot = kFirstTextSlot);

    // Many texts at once: `records` holds one record per entry of `wParams`,
    // their own fields filled in. Each gets a slot of its own; all are
    // written at once, asked in order, and read back at once; a text that
    // filled its slot is asked for again alone. The number of texts read:
    // fewer than asked when the control refused one (replyIsSuccess) or
    // stopped answering.
    std::size_t AskTexts(UINT message, const std::vector<WPARAM>& wParams, const TextRecordLayout& layout,
                         std::vector<unsigned char>& records, bool replyIsSuccess, std::vector<std::wstring>& texts);

    HWND Window() const { return control; }
    RemoteBlock& Block() { return block; }
    const ControlLayouts& Layouts() const { return block.Layouts(); }
    bool Usable() const { return usable; }

private:
    bool PlaceRecords(const TextRecordLayout& layout, std::size_t count, std::vector<unsigned char>& records);
    bool ReadSlots(std::size_t slotsAt, std::size_t count, std::vector<std::wstring>& texts);

    HWND control;
    UINT timeout;
    RemoteBlock block;
    bool opened = false;
    CountProblem openProblem = CountProblem::none;
    bool usable = false;
    bool gone = false;  // the last question found no window
};
