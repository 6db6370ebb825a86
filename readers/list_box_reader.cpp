#include "readers/list_box_reader.h"

#include <cwchar>

#include "readers/tabbed_lines.h"

namespace {

// The reply of one message, or false when the window failed or did not
// answer in time.
bool AskWide(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT timeout, LRESULT& reply)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(list, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout, &result))
        return false;
    // List replies are 32-bit values on every platform; LB_ERR comes back
    // sign-extended or not depending on the sender's and the target's widths.
    reply = static_cast<LRESULT>(static_cast<int>(result));
    return true;
}

}  // namespace

int ReadListCount(HWND list, UINT timeout)
{
    DWORD_PTR result = 0;
    // Cleared first: only this send's failure may explain a missing answer.
    SetLastError(ERROR_SUCCESS);
    if (!SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, timeout, &result)) {
        // No window at all (nothing picked yet, or the pick has gone) answers
        // 0, as a plain send would; only a window that failed to answer in
        // time counts as an error.
        return GetLastError() == ERROR_INVALID_WINDOW_HANDLE ? 0 : LB_ERR;
    }
    // A list box's count is a 32-bit value on every platform.
    return BelievableCount(static_cast<LRESULT>(static_cast<int>(result)));
}

ItemStatus ReadListItem(HWND list, const ListMessages& messages, int index, ReplyBuffer& buffer,
                        std::wstring& item, UINT timeout)
{
    item.clear();
    const WPARAM at = static_cast<WPARAM>(index);
    LRESULT length = 0;
    if (!AskWide(list, messages.textLength, at, 0, timeout, length))
        return ItemStatus::failed;
    if (length < 0)
        return ItemStatus::missing;
    // A length no item has: the window is answering something else, and
    // whatever it would copy back cannot be trusted either.
    if (length > kLongestItem || !buffer.Reserve(static_cast<size_t>(length)))
        return ItemStatus::failed;
    wchar_t* text = buffer.Data();
    text[0] = L'\0';
    LRESULT copied = 0;
    if (!AskWide(list, messages.text, at, reinterpret_cast<LPARAM>(text), timeout, copied))
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

ListBoxReader::ListBoxReader(HWND list, const ListMessages& messages, UINT timeout)
    : list(list), messages(messages), timeout(timeout)
{
}

CountReport ListBoxReader::Count()
{
    CountReport report;
    report.kind = Kind();
    if (messages.count == LB_GETCOUNT) {
        report.count = ReadListCount(list, timeout);
    } else {
        LRESULT count = 0;
        SetLastError(ERROR_SUCCESS);
        report.count = AskWide(list, messages.count, 0, 0, timeout, count) ? BelievableCount(count) : LB_ERR;
    }
    if (report.count == LB_ERR && IsAccessDenied(GetLastError()))
        report.problem = CountProblem::accessDenied;
    else if (report.count > 0 && HoldsNoStrings(list, messages))
        report.problem = CountProblem::noText;
    return report;
}

bool ListBoxReader::ReadNext(ItemSink& sink)
{
    if (expected < 0) {
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
    const ItemStatus status = ReadListItem(list, messages, next, buffer, item, timeout);
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
