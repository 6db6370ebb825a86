#include "readers/list_text.h"

bool AppendItem(ItemStatus status, const std::wstring& item, std::wstring& joined)
{
    if (status == ItemStatus::failed)
        return false;
    if (status == ItemStatus::text) {
        joined += item;
        joined += L"\r\n";
    }
    return true;
}

std::wstring JoinListItems(int count, const ItemSource& readItem)
{
    std::wstring joined;
    std::wstring item;
    for (int index = 0; index < count; ++index) {
        item.clear();
        if (!AppendItem(readItem(index, item), item, joined))
            break;
    }
    return joined;
}
