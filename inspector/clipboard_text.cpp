#include "inspector/clipboard_text.h"

#include <cstring>

#include "inspector/global_memory.h"

namespace {

// Holds the clipboard open for a scope.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) : open(OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession()
    {
        if (open)
            CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool IsOpen() const { return open; }

private:
    bool open;
};

}  // namespace

SIZE_T TextBlockSize(size_t textLength)
{
    return textLength ? 2 * textLength : 1;
}

bool PlaceTextOnClipboard(HWND owner, const std::string& text, const BlockAllocator& allocate)
{
    ClipboardSession clipboard(owner);
    if (!clipboard.IsOpen())
        return false;
    EmptyClipboard();
    GlobalBlock block(allocate(GMEM_MOVEABLE | GMEM_ZEROINIT, TextBlockSize(text.size())));
    if (!block.Get())
        return true;
    {
        GlobalLockGuard lock(block.Get());
        if (lock.Address())
            std::memcpy(lock.Address(), text.c_str(), text.size() + 1);
    }
    if (SetClipboardData(CF_TEXT, block.Get()))
        block.Release();
    return true;
}
