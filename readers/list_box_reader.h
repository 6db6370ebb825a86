// Asks a window of any thread or program, as a list box (or a combo box, by
// the same three questions under other numbers), for its items. Every message
// waits a bounded time for the answer, so a target that has stopped answering
// cannot freeze the caller; every answer is checked before it is believed.
#pragma once

#include <windows.h>

#include <string>

#include "readers/item_reader.h"
#include "readers/list_text.h"
#include "readers/read_limits.h"
#include "readers/remote/timed_send.h"
#include "readers/reply_buffer.h"

// A list of strings: its name in the count sentence, the three questions it
// answers, and the styles of one that draws its items itself and may keep no
// strings.
struct ListMessages {
    const char* kind;
    UINT count;
    UINT textLength;
    UINT text;
    LONG_PTR ownerDrawn;
    LONG_PTR hasStrings;
};
constexpr ListMessages kListBoxMessages = {"ListBox", LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT,
                                           LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE, LBS_HASSTRINGS};
constexpr ListMessages kComboBoxMessages = {"ComboBox", CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                            CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE, CBS_HASSTRINGS};

// 0 when there is no such window; LB_ERR when the window does not answer in
// time or answers a count no list could hold.
int ReadListCount(HWND list, UINT timeout = kListReplyTimeout);

// Reads one item whole, as wide text: the wide reply is the one every
// platform carries correctly across processes. The buffer is reused from one
// item to the next.
ItemStatus ReadListItem(HWND list, const ListMessages& messages, int index, ReplyBuffer& buffer,
                        std::wstring& item, UINT timeout = kListReplyTimeout);
ItemStatus ReadListItem(HWND list, int index, std::wstring& item, UINT timeout = kListReplyTimeout);

// Every item followed by CR LF; empty when the count cannot be read.
std::wstring ReadListText(HWND list, UINT timeout = kListReplyTimeout);

// True when the control draws its items itself and keeps no strings: what it
// answers for their "text" is the data stored with each item.
bool HoldsNoStrings(HWND list, const ListMessages& messages);

// A list box or a combo box, read one item per step: two questions, its
// length and its text, with the pace asked before each.
class ListBoxReader final : public ItemReader {
public:
    ListBoxReader(HWND list, const ListMessages& messages, UINT timeout = kListReplyTimeout,
                  TimedSend send = &SendMessageTimeoutW);

    const char* Kind() const override { return messages.kind; }
    CountReport Count() override;
    bool ReadNext(ItemSink& sink) override;
    int Expected() const override { return expected; }
    int Handled() const override { return next; }

private:
    bool MayAsk() { return !pace || pace->MayAsk(); }

    HWND list;
    ListMessages messages;
    UINT timeout;
    TimedSend send;
    ReplyBuffer buffer;
    std::wstring item;
    int expected = -1;  // not asked yet
    int next = 0;
    bool lengthKnown = false;  // of item `next`: asked, its text not yet
    LRESULT length = 0;
};
