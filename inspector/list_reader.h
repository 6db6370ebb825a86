// Asks a window of any thread or program, as a list box, for its items. Every
// message waits a bounded time for the answer, so a target that has stopped
// answering cannot freeze the caller.
#pragma once

#include <windows.h>

#include <string>

#include "inspector/list_text.h"

// Long enough for a busy program, short enough that a hung one is given up
// on before the user wonders whether Quarvel itself has hung.
constexpr UINT kListReplyTimeout = 3000;  // milliseconds, per message

// 0 when there is no such window; LB_ERR also when the window does not
// answer in time.
int ReadListCount(HWND list, UINT timeout = kListReplyTimeout);

// Reads one item whole, as wide text: the wide reply is the one every
// platform carries correctly across processes.
ItemStatus ReadListItem(HWND list, int index, std::wstring& item, UINT timeout = kListReplyTimeout);

// Every item followed by CR LF; empty when the count cannot be read.
std::wstring ReadListText(HWND list, UINT timeout = kListReplyTimeout);
