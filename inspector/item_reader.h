// One reader per kind of list control, behind one narrow interface: Get Count
// asks it once; Get Contents asks it for the next lines until it is done, in
// slices short enough that the dialog keeps answering in between.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

// Why a count could not be given as a plain number.
enum class CountProblem {
    none,
    noText,        // owner-drawn items without strings: the list holds no text
    accessDenied,  // the window or its program refuses Quarvel (a higher integrity level)
    needs64Bit,    // a 64-bit program's control, out of a 32-bit Quarvel's reach
    noMemory,      // no working memory could be had in the program
};

struct CountReport {
    const char* kind = "ListBox";  // the control's name in the count sentence
    int count = 0;                 // -1 when the control did not answer
    CountProblem problem = CountProblem::none;
};

// "ListBox contains 3 items", or a short sentence that names the problem.
// Defined in item_reader.cpp.
std::string CountSentence(const CountReport& report);

// The error a send to a window that refuses Quarvel leaves behind.
// Defined in item_reader.cpp.
bool IsAccessDenied(DWORD error);

class ItemReader {
public:
    virtual ~ItemReader() = default;

    // Get Count: a bounded question or two, answered at once.
    virtual CountReport Count() = 0;

    // Appends the next line or lines of the contents, each followed by CR LF,
    // to `lines`. The first call starts the read. False once nothing more will
    // come: every item read, the control gone or silent, or the read refused.
    virtual bool ReadNext(std::wstring& lines) = 0;

    // Progress: the items the read expects in all (known after the first
    // ReadNext; 0 when unknown) and those handled so far.
    virtual int Expected() const = 0;
    virtual int Handled() const = 0;
};

// The reader for the picked window's kind of control, chosen by its base
// class; the list-box reader for anything unknown. Defined in reader_choice.cpp.
std::unique_ptr<ItemReader> ReaderFor(HWND window);
