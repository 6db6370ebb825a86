#include "ui/contents_box.h"

#include "app/scoped.h"

bool FillContentsBox(HWND box, GatheredText& text)
{
    // A movable local block, as the box reallocates it when its text grows.
    ScopedLocal buffer(LocalAlloc(LMEM_MOVEABLE, (text.Size() + 1) * sizeof(wchar_t)));
    if (!buffer.Get())
        return false;
    {
        ScopedLocalLock lock(buffer.Get());
        if (!lock.Address())
            return false;
        text.MoveInto(static_cast<wchar_t*>(lock.Address()));
    }
    // The buffer the box had is Quarvel's to free once the box has the new one.
    ScopedLocal previous(reinterpret_cast<HLOCAL>(SendMessageW(box, EM_GETHANDLE, 0, 0)));
    SendMessageW(box, EM_SETHANDLE, reinterpret_cast<WPARAM>(buffer.Take()), 0);
    return true;
}
