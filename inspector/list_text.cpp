#include "inspector/list_text.h"

std::wstring JoinListItems(int count, const ItemSource& readItem)
{
    std::wstring joined;
    std::wstring item;
    for (int index = 0; index < count; ++index) {
        item.clear();
        const ItemStatus status = readItem(index, item);
        if (status == ItemStatus::failed)
            break;
        if (status == ItemStatus::missing)
            continue;
        joined += item;
        joined += L"\r\n";
    }
    return joined;
}
