// Places ANSI text on the clipboard as its one CF_TEXT entry.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The clipboard's block allocator; tests put one that fails in its place.
using BlockAllocator = std::function<HGLOBAL(UINT flags, SIZE_T size)>;

// Room for the text, its terminator and as many zero bytes again; empty text
// still gets the one zero byte a reader needs to find an empty string.
SIZE_T TextBlockSize(size_t textLength);

// Open with `owner`, emptied, then the text in a zero-filled movable block.
// False when the clipboard could not be opened: then nothing was changed.
// When no block can be had the clipboard is left empty rather than holding
// an entry that promises data later.
bool PlaceTextOnClipboard(HWND owner, const std::string& text,
                          const BlockAllocator& allocate = GlobalAlloc);
