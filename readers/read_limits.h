// What a reader believes and how long it waits: the bounds that keep a
// program answering nonsense, or answering nothing, from costing Quarvel more
// than a few seconds or more memory than its list could need.
#pragma once

#include <windows.h>

// Long enough for a busy program, short enough that a hung one is given up
// on before the user wonders whether Quarvel itself has hung.
constexpr UINT kListReplyTimeout = 3000;  // milliseconds, per message

// More than any list holds (a virtual list view tops out at a hundred
// million); a window that answers more is answering something else.
constexpr LRESULT kMostItems = 100000000;
// A count as a list could answer it; LB_ERR for any other.
constexpr int BelievableCount(LRESULT count)
{
    return count >= 0 && count <= kMostItems ? static_cast<int>(count) : LB_ERR;
}

// The longest item text believed, in wide characters.
constexpr LRESULT kLongestItem = 16 * 1024 * 1024;

// About how many questions one step of a reader asks: enough to share one
// write and one read of the program's memory, which cost about as much as a
// question, yet few enough that a step stays short against a slow program.
constexpr int kQuestionsPerStep = 24;

// A slice of a read: short enough that a key press waits no longer than
// that, long enough that the timer between slices costs nothing measurable.
constexpr DWORD kReadSlice = 30;  // milliseconds
