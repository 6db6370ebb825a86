// What Get Count tells: a number of items, or why there is none to give.
#pragma once

#include <windows.h>

#include <string>

#include "readers/remote/remote_block.h"

class RemoteControl;

// Why a count could not be given as a plain number.
enum class CountProblem {
    none,
    noText,            // owner-drawn items without strings: the list holds no text
    accessDenied,      // the window or its program refuses Quarvel (a higher integrity level)
    protectedProcess,  // a protected process: it refuses every other program, administrators too
    needs64Bit,        // a 64-bit program's control, out of a 32-bit Quarvel's reach
    noMemory,          // no working memory could be had in the program
};

struct CountReport {
    const char* kind = "ListBox";  // the control's name in the count sentence
    int count = 0;                 // -1 when the control did not answer
    CountProblem problem = CountProblem::none;
};

// "ListBox contains 3 items", or a short sentence that names the problem.
// Wide, as the dialog shows every text.
std::wstring CountSentence(const CountReport& report);

// A control's name as it stands in a sentence (the names are ASCII).
std::wstring KindName(const char* kind);

// The error a send to a window that refuses Quarvel leaves behind.
bool IsAccessDenied(DWORD error);

// Why working memory in the control's program could not be had, as Get Count
// says it.
CountProblem ProblemOf(RemoteProblem problem);

// Get Count of a control read through memory in its program: its answer to
// `message`, or why it cannot be read (the message refused, or the program).
CountReport RemoteCount(RemoteControl& control, const char* kind, UINT message);
