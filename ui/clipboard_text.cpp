#include "ui/clipboard_text.h"

#include <cstring>
#include <new>

#include "app/scoped.h"
#include "app/code_page.h"

namespace {

// Clipboard managers and remote-desktop sessions open the clipboard for a
// moment whenever it changes: a few short waits ride that out.
constexpr int kOpenTries = 6;
constexpr DWORD kOpenRetryWait = 20;  // milliseconds

// Converted unit by unit, both halves of a pair would each become a "?".
std::wstring OneUnitPerCharacter(const std::wstring& text)
{
    std::wstring units;
    units.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (i + 1 < text.size() && IS_SURROGATE_PAIR(unit, text[i + 1]))
            ++i;
        units += IS_HIGH_SURROGATE(unit) || IS_LOW_SURROGATE(unit) ? L'?' : unit;
    }
    return units;
}

// `size` bytes, of which the first `count` come from `bytes`. False when
// the entry could not be placed.
bool PlaceEntry(UINT format, const void* bytes, size_t count, SIZE_T size, const BlockAllocator& allocate)
{
    ScopedGlobal block(allocate(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!block.Get())
        return false;
    {
        ScopedGlobalLock lock(block.Get());
        if (!lock.Address())
            return false;
        std::memcpy(lock.Address(), bytes, count);
    }
    if (!SetClipboardData(format, block.Get()))
        return false;
    block.Take();
    return true;
}

}  // namespace

SIZE_T TextBlockSize(size_t textLength)
{
    return textLength ? 2 * textLength : 1;
}

UINT SystemAnsiCodePage()
{
    return GetACP();
}

std::string TextInCodePage(const std::wstring& text, UINT codePage)
{
    if (codePage == CP_UTF8)
        return WideToAnsi(text.data(), text.size(), CP_UTF8);
    const std::wstring units = OneUnitPerCharacter(text);
    return WideToAnsiWithoutLookAlikes(units.data(), units.size(), codePage);
}

bool PlaceTextOnClipboard(HWND owner, const std::wstring& text, const BlockAllocator& allocate)
{
    std::string ansi;
    bool ansiHeld = true;
    try {
        ansi = TextInCodePage(text, SystemAnsiCodePage());
    } catch (const std::bad_alloc&) {
        ansiHeld = false;
    }
    ScopedClipboard clipboard(owner);
    for (int tries = 1; !clipboard && tries < kOpenTries; ++tries) {
        Sleep(kOpenRetryWait);
        clipboard = ScopedClipboard(owner);
    }
    if (!clipboard)
        return false;
    EmptyClipboard();
    const SIZE_T wideSize = (text.size() + 1) * sizeof(wchar_t);
    PlaceEntry(CF_UNICODETEXT, text.c_str(), wideSize, wideSize, allocate);
    if (ansiHeld && PlaceEntry(CF_TEXT, ansi.c_str(), ansi.size() + 1, TextBlockSize(ansi.size()), allocate)) {
        // Without it a reader of CF_TEXT would take the keyboard's language
        // for the code page.
        const LCID locale = GetSystemDefaultLCID();
        PlaceEntry(CF_LOCALE, &locale, sizeof(locale), sizeof(locale), allocate);
    }
    return true;
}
