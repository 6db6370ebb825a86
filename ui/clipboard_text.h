// Places text on the clipboard twice: exact as CF_UNICODETEXT, and as
// CF_TEXT for the programs that read only that, with CF_LOCALE saying which
// code page CF_TEXT is in.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The clipboard's block allocator; tests put one that fails in its place.
using BlockAllocator = std::function<HGLOBAL(UINT flags, SIZE_T size)>;

// Room for the text, its terminator and as many zero bytes again; empty text
// still gets the one zero byte a reader needs to find an empty string.
SIZE_T TextBlockSize(size_t textLength);

// The code page CF_TEXT is read in: the system's ANSI code page, 65001 where
// "Use Unicode UTF-8 for worldwide language support" is ticked. GetACP
// tells it as long as the process declares no code page of its own, and
// Quarvel declares none.
UINT SystemAnsiCodePage();

// CF_TEXT's bytes: the text in `codePage`, with one "?" for each character
// the code page cannot hold (a pair of surrogates or a lone half of one
// included).
std::string TextInCodePage(const std::wstring& text, UINT codePage);

// Open with `owner` (tried again for about a tenth of a second while another
// program holds it), emptied, then each entry in a zero-filled movable block.
// False when the clipboard could not be opened: then nothing was changed.
// An entry whose block cannot be had is left out rather than promising data
// later; the other still goes on.
bool PlaceTextOnClipboard(HWND owner, const std::wstring& text,
                          const BlockAllocator& allocate = GlobalAlloc);
