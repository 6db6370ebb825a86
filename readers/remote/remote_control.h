// A control of another program, asked questions whose answers it writes into
// working memory in its own program. Every question waits a bounded time; one
// that goes unanswered leaves the memory to the program and ends the read.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "readers/remote/remote_block.h"

// Wide characters a text slot holds at first; a text that fills it is asked
// for again with a larger one.
constexpr int kFirstTextSlot = 256;

enum class TextAnswer {
    text,     // read whole
    refused,  // the control answered that it has no such item or column
    failed,   // no answer, or the memory failed: the read ends
};

class RemoteControl {
public:
    // `longestText`: the longest text believed, in wide characters; a text
    // that still fills a slot that large is cut there.
    RemoteControl(HWND control, UINT timeout, int longestText)
        : control(control), timeout(timeout), longestText(longestText)
    {
    }

    // Opens the program and a first block; the problem that prevents reading.
    RemoteProblem Open();

    // A count as the control answers it, a 32-bit value on every platform:
    // 0 when it is gone (as for a list box), -1 when it did not answer in time.
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

    int LargerSlot(int slot) const;

    HWND control;
    UINT timeout;
    int longestText;
    RemoteBlock block;
    bool opened = false;
    RemoteProblem openProblem = RemoteProblem::none;
    bool usable = false;
    bool gone = false;  // the last question found no window
};
