#include "inspector/clipboard_text.h"

#include <cstring>

#include "app/scoped.h"

SIZE_T TextBlockSize(size_t textLength)
{
    return textLength ? 2 * textLength : 1;
}

bool PlaceTextOnClipboard(HWND owner, const std::string& text, const BlockAllocator& allocate)
{
    ScopedClipboard clipboard(owner);
    if (!clipboard)
        return false;
    EmptyClipboard();
    ScopedGlobal block(allocate(GMEM_MOVEABLE | GMEM_ZEROINIT, TextBlockSize(text.size())));
    if (!block.Get())
        return true;
    {
        ScopedGlobalLock lock(block.Get());
        if (lock.Address())
            std::memcpy(lock.Address(), text.c_str(), text.size() + 1);
    }
    if (SetClipboardData(CF_TEXT, block.Get()))
        block.Take();
    return true;
}
