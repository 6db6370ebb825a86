// A control of another program, asked questions whose answers it writes into
// working memory in its own program. Every question waits a bounded time; one
// that goes unanswered leaves the memory to the program and ends the read.
// Before each question the caller's pace may hold the read: nothing is lost
// then, and the same question is asked when the read goes on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "readers/remote/read_pace.h"
#include "readers/remote/remote_block.h"
#include "readers/remote/timed_send.h"

// Wide characters a text slot holds at first; a text that fills it is asked
// for again with a larger one.
constexpr int kFirstTextSlot = 256;

enum class TextAnswer {
    text,     // read whole
    refused,  // the control answered that it has no such item or column
    held,     // not asked: the pace holds the read; ask again later
    failed,   // the read ends: Failure() says why
};

// Why the read cannot go on.
enum class RemoteFailure {
    none,
    silent,      // no answer in time, the window went away, or the memory failed
    denied,      // the system refused the message (a program of a higher integrity level)
    outOfReach,  // the control answered a text at an address this side cannot name
};

class RemoteControl {
public:
    // `longestText`: the longest text believed, in wide characters; a text
    // that still fills a slot that large is cut there.
    RemoteControl(HWND control, UINT timeout, int longestText, TimedSend send = &SendMessageTimeoutW)
        : control(control), timeout(timeout), longestText(longestText), send(send)
    {
    }

    // Asked before every question from then on; none reads each call whole.
    void SetPace(ReadPace* readPace) { pace = readPace; }

    // Opens the program and a first block; the problem that prevents reading.
    RemoteProblem Open();

    // A count as the control answers it, a 32-bit value on every platform:
    // 0 when it is gone (as for a list box), -1 when it did not answer in
    // time, was refused, or was held.
    int AskCount(UINT message);

    // False when the question was held, or the control is gone, was refused
    // or did not answer in time.
    bool Ask(UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& reply);

    // Sends `message` with `record` (its own fields filled in) at the start of
    // the block and its text pointer aimed at a slot of `firstSlot` characters
    // right behind it. The text is the slot's, or, when the control pointed
    // the record at a text of its own instead, that text read from its
    // program.
    TextAnswer AskText(UINT message, WPARAM wParam, const TextRecordLayout& layout, std::vector<unsigned char>& record,
                       bool replyIsSuccess, std::wstring& text, int firstSlot = kFirstTextSlot);

    // Many texts at once: `records` holds one record per entry of `wParams`,
    // their own fields filled in. Each gets a slot of its own; all are
    // written at once, asked in order, and read back at once; a text that
    // filled its slot is asked for again alone. The number of texts read from
    // the first: fewer than asked when the control refused one
    // (replyIsSuccess), the pace held the read, or the read ended.
    std::size_t AskTexts(UINT message, const std::vector<WPARAM>& wParams, const TextRecordLayout& layout,
                         const std::vector<unsigned char>& records, bool replyIsSuccess,
                         std::vector<std::wstring>& texts);

    HWND Window() const { return control; }
    RemoteBlock& Block() { return block; }
    const ControlLayouts& Layouts() const { return block.Layouts(); }
    bool Usable() const { return usable; }
    // The last question was not asked: the pace holds the read.
    bool Held() const { return held; }
    RemoteFailure Failure() const { return failure; }

private:
    struct Answer {
        bool whole;  // false: the text filled its slot and may have been cut
        bool read;   // false: the read ends (failure says why)
    };

    std::size_t AskBatch(UINT message, const std::vector<WPARAM>& wParams, std::size_t from,
                         const TextRecordLayout& layout, const std::vector<unsigned char>& records,
                         bool replyIsSuccess, std::vector<std::wstring>& texts);
    Answer TextOf(const unsigned char* record, const TextRecordLayout& layout, const wchar_t* slot,
                  std::uint64_t slotAddress, int slotChars, std::wstring& text);
    bool ReadTextAt(std::uint64_t address, std::wstring& text);
    bool Place(std::size_t bytes);
    bool Fail(RemoteFailure why);
    int LargerSlot(int slot) const;
    std::vector<unsigned char> KeyOf(UINT message, WPARAM wParam, const TextRecordLayout& layout,
                                     const unsigned char* record) const;

    HWND control;
    UINT timeout;
    int longestText;
    TimedSend send;
    ReadPace* pace = nullptr;
    RemoteBlock block;
    bool opened = false;
    RemoteProblem openProblem = RemoteProblem::none;
    bool usable = false;
    bool gone = false;  // the last question found no window
    bool held = false;
    RemoteFailure failure = RemoteFailure::none;
    // A long text that the pace held before it was asked again: the question
    // it belongs to, and the slot it needs.
    std::vector<unsigned char> heldKey;
    int heldSlot = 0;
};
