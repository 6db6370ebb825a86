// A Get Contents in progress. The picked control is read a slice at a time so
// that the dialog answers the user in between; the text is gathered in the
// program's ANSI code page in large blocks that are handed back one by one as
// the final text is put together, so that a long read costs little more than
// the text itself.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "inspector/item_reader.h"

class ContentsRead {
public:
    explicit ContentsRead(std::unique_ptr<ItemReader> reader);

    // Reads for about `budget` milliseconds (at least one step). False once
    // the read is over.
    bool Continue(DWORD budget);

    int Expected() const { return reader->Expected(); }
    int Handled() const { return reader->Handled(); }

    // The whole text, once; the blocks are given back while it is joined.
    std::string TakeText();

private:
    void Keep(const std::wstring& lines);

    std::unique_ptr<ItemReader> reader;
    std::wstring lines;
    std::vector<std::string> blocks;
    std::size_t size = 0;
};

// Gathering blocks: large enough that the heap gives each its own pages and
// takes them back when it is freed.
constexpr std::size_t kContentsBlockSize = 1024 * 1024;
