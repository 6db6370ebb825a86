// How a question reaches a window of another thread or program: a send that
// waits a bounded time for the answer. SendMessageTimeoutW everywhere Quarvel
// runs; a test puts a stand-in here to refuse as Windows refuses a program of
// a higher integrity level (the send fails with ERROR_ACCESS_DENIED), which
// no other machine can show.
#pragma once

#include <windows.h>

using TimedSend = LRESULT(WINAPI*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                   UINT timeout, PDWORD_PTR reply);
