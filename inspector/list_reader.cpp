#include "inspector/list_reader.h"

#include <climits>
#include <new>

namespace {

// The reply of one message, or false when the window failed or did not
// answer in time.
bool AskWide(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT timeout, LRESULT& reply)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(list, message, wParam, lParam, SMTO_ABORTIFHUNG, timeout, &result))
        return false;
    reply = static_cast<LRESULT>(result);
    return true;
}

}  // namespace

int ReadListCount(HWND list, UINT timeout)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, timeout, &result)) {
        // No window at all (nothing picked yet, or the pick has gone) answers
        // 0, as a plain send would; only a window that failed to answer in
        // time counts as an error.
        return GetLastError() == ERROR_INVALID_WINDOW_HANDLE ? 0 : LB_ERR;
    }
    // A list box's count is a 32-bit value on every platform.
    return static_cast<int>(static_cast<LRESULT>(result));
}

ItemStatus ReadListItem(HWND list, int index, std::wstring& item, UINT timeout)
{
    item.clear();
    const WPARAM at = static_cast<WPARAM>(index);
    LRESULT length = 0;
    if (!AskWide(list, LB_GETTEXTLEN, at, 0, timeout, length))
        return ItemStatus::failed;
    if (length < 0 || length >= INT_MAX)
        return ItemStatus::missing;
    try {
        item.resize(static_cast<size_t>(length) + 1);
    } catch (const std::bad_alloc&) {
        return ItemStatus::missing;
    }
    LRESULT copied = 0;
    if (!AskWide(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(&item[0]), timeout, copied)) {
        item.clear();
        return ItemStatus::failed;
    }
    if (copied < 0) {
        item.clear();
        return ItemStatus::missing;
    }
    // Only what the list box wrote: never more than it said it copied, and
    // nothing past a terminator it placed earlier.
    item.resize(static_cast<size_t>(copied < length ? copied : length));
    const size_t terminator = item.find(L'\0');
    if (terminator != std::wstring::npos)
        item.resize(terminator);
    return ItemStatus::text;
}

std::wstring ReadListText(HWND list, UINT timeout)
{
    const int count = ReadListCount(list, timeout);
    return JoinListItems(count, [list, timeout](int index, std::wstring& item) {
        return ReadListItem(list, index, item, timeout);
    });
}
