#include "readers/list_box_reader.h"

#include <cwchar>

#include "readers/tabbed_lines.h"

namespace {

// The reply of one message, or false when the window failed or did not
// answer in time.
bool AskWide(TimedSend send, HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT timeout, LRESULT& reply)
{
    DWORD_PTR result = 0;
    if (!send(list, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout, &result))
        return false;
    // List replies are 32-bit values on every platform; LB_ERR comes back
    // sign-extended or not depending on the sender's and the target's widths.
    reply = static_cast<LRESULT>(static_cast<int>(result));
    return true;
}

ItemStatus AskItemLength(TimedSend send, HWND list, const ListMessages& messages, int index, UINT timeout,
                         ReplyBuffer& buffer, LRESULT& length)
{
    if (!AskWide(send, list, messages.textLength, static_cast<WPARAM>(index), 0, timeout, length))
        return ItemStatus::failed;
    if (length < 0)
        return ItemStatus::missing;
    // A length no item has: the window is answering something else, and
    // whatever it would copy back cannot be trusted either.
    if (length > kLongestItem || !buffer.Reserve(static_cast<size_t>(length)))
        return ItemStatus::failed;
    return ItemStatus::text;
}

// The buffer holds room for the length asked before, with headroom.
ItemStatus AskItemText(TimedSend send, HWND list, const ListMessages& messages, int index, UINT timeout,
                       ReplyBuffer& buffer, std::wstring& item)
{
    wchar_t* text = buffer.Data();
    text[0] = L'\0';
    LRESULT copied = 0;
    if (!AskWide(send, list, messages.text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text), timeout,
                 copied))
        return ItemStatus::failed;
    if (copied < 0)
        return ItemStatus::missing;
    // Only what the list wrote: never more than it said it copied, and
    // nothing past a terminator it placed earlier. An item that grew since its
    // length was asked is taken whole, as far as the buffer reaches.
    const size_t room = buffer.Capacity() - 1;
    const size_t written = static_cast<size_t>(copied) < room ? static_cast<size_t>(copied) : room;
    item.assign(text, wcsnlen(text, written));
    return ItemStatus::text;
}

}  // namespace

int ReadListCount(HWND list, UINT timeout)
{
    return ListBoxReader(list, kListBoxMessages, timeout).Count().count;
}

ItemStatus ReadListItem(HWND list, const ListMessages& messages, int index, ReplyBuffer& buffer,
                        std::wstring& item, UINT timeout)
{
    item.clear();
    LRESULT length = 0;
    const ItemStatus status = AskItemLength(&SendMessageTimeoutW, list, messages, index, timeout, buffer, length);
    if (status != ItemStatus::text)
        return status;
    return AskItemText(&SendMessageTimeoutW, list, messages, index, timeout, buffer, item);
}

ItemStatus ReadListItem(HWND list, int index, std::wstring& item, UINT timeout)
{
    ReplyBuffer buffer;
    return ReadListItem(list, kListBoxMessages, index, buffer, item, timeout);
}

std::wstring ReadListText(HWND list, UINT timeout)
{
    ListBoxReader reader(list, kListBoxMessages, timeout);
    std::wstring text;
    TabbedLines lines(text);
    while (reader.ReadNext(lines)) {
    }
    return text;
}

bool HoldsNoStrings(HWND list, const ListMessages& messages)
{
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    return (style & messages.ownerDrawn) && !(style & messages.hasStrings);
}

ListBoxReader::ListBoxReader(HWND list, const ListMessages& messages, UINT timeout, TimedSend send)
    : list(list), messages(messages), timeout(timeout), send(send)
{
}

CountReport ListBoxReader::Count()
{
    CountReport report;
    report.kind = Kind();
    DWORD_PTR result = 0;
    // Cleared first: only this send's failure may explain a missing answer.
    SetLastError(ERROR_SUCCESS);
    if (send(list, messages.count, 0, 0, SMTO_ABORTIFHUNG, timeout, &result)) {
        // A count is a 32-bit value on every platform.
        report.count = BelievableCount(static_cast<LRESULT>(static_cast<int>(result)));
    } else {
        const DWORD error = GetLastError();
        // No window at all (nothing picked yet, or the pick has gone) answers
        // 0, as a plain send would; only a window that failed to answer in
        // time counts as an error.
        report.count = error == ERROR_INVALID_WINDOW_HANDLE ? 0 : LB_ERR;
        if (IsAccessDenied(error))
            report.problem = CountProblem::accessDenied;
    }
    if (report.count > 0 && HoldsNoStrings(list, messages))
        report.problem = CountProblem::noText;
    return report;
}

bool ListBoxReader::ReadNext(ItemSink& sink)
{
    if (expected < 0) {
        if (!MayAsk())
            return true;
        const CountReport report = Count();
        // Items without strings would show their stored data as text.
        expected = report.problem == CountProblem::none && report.count > 0 ? report.count : 0;
        if (report.problem != CountProblem::none)
            ending = ReadEnd::refused;
        else if (report.count < 0)
            ending = ReadEnd::silent;
    }
    if (next >= expected)
        return false;
    if (!lengthKnown) {
        if (!MayAsk())
            return true;
        item.clear();
        const ItemStatus status = AskItemLength(send, list, messages, next, timeout, buffer, length);
        if (status == ItemStatus::failed) {
            next = expected;
            ending = ReadEnd::silent;
            return false;
        }
        if (status == ItemStatus::missing)
            return ++next < expected;
        lengthKnown = true;
    }
    if (!MayAsk())
        return true;
    lengthKnown = false;
    const ItemStatus status = AskItemText(send, list, messages, next, timeout, buffer, item);
    ++next;
    if (status == ItemStatus::failed) {
        next = expected;
        ending = ReadEnd::silent;
        return false;
    }
    if (status == ItemStatus::text)
        sink.Item(item);
    return next < expected;
}
