// One reader per kind of list control, behind one narrow interface: Get Count
// asks it once; Get Contents asks it for the next items until it is done, in
// steps short enough that the caller keeps answering its user in between.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "readers/count_report.h"
#include "readers/remote/read_pace.h"

// Where a reader puts what it reads, in the control's own shape: the dialog
// makes lines of them, a script's output may make records.
class ItemSink {
public:
    // The column titles of a list view in report view, before its rows.
    virtual void Header(const std::vector<std::wstring>& titles) = 0;
    // A list box's or combo box's item, exactly as the control holds it.
    virtual void Item(const std::wstring& text) = 0;
    // A list view's item: its cells in the order shown, one cell outside
    // report view.
    virtual void Row(const std::wstring* cells, std::size_t count) = 0;
    // A tree item and its depth below the roots (0 for a root), depth first.
    virtual void TreeItem(std::size_t depth, const std::wstring& text) = 0;

protected:
    ~ItemSink() = default;
};

// How a read ended.
enum class ReadEnd {
    complete,    // every item the control announced
    refused,     // nothing read: the control cannot be read (Count says why)
    silent,      // the control stopped answering or went away
    limit,       // the control answered past what it holds (a looping tree,
                 // a text longer than any item): what came before is kept
    noMemory,    // Quarvel itself ran out of memory
    needs64Bit,  // the 32-bit Quarvel met an item of a 64-bit program that it
                 // cannot name; a partial tree is not to be shown
};

class ItemReader {
public:
    virtual ~ItemReader() = default;

    // The control's name in the count sentence.
    virtual const char* Kind() const = 0;

    // Get Count: a bounded question or two, answered at once.
    virtual CountReport Count() = 0;

    // Gives the next item or items to `sink`. The first call starts the read.
    // False once nothing more will come; Ending() then says why. A call the
    // pace holds returns true having kept what it was asked so far.
    virtual bool ReadNext(ItemSink& sink) = 0;

    // Asked before every question from then on: a slice's time, or the
    // caller's stop. Without one every call reads its step whole.
    virtual void SetPace(ReadPace* readPace) { pace = readPace; }

    // Progress: the items the read expects in all (known after the first
    // ReadNext; 0 when unknown) and those handled so far.
    virtual int Expected() const = 0;
    virtual int Handled() const = 0;

    ReadEnd Ending() const { return ending; }

protected:
    // A reader sets how it ended before its ReadNext returns false.
    ReadEnd ending = ReadEnd::complete;
    ReadPace* pace = nullptr;
};
