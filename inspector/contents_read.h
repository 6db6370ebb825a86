// A Get Contents in progress. The picked control is read a slice at a time so
// that the dialog answers the user in between; the text is gathered in the
// program's ANSI code page where it stays until the box takes it, so that a
// long read costs Quarvel little more than the text itself.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "inspector/gathered_text.h"
#include "inspector/item_reader.h"

class ContentsRead {
public:
    explicit ContentsRead(std::unique_ptr<ItemReader> reader);

    // Reads for about `budget` milliseconds (at least one step). False once
    // the read is over.
    bool Continue(DWORD budget);

    int Expected() const { return reader->Expected(); }
    int Handled() const { return reader->Handled(); }

    // The text read so far, zero-terminated; valid while the read lasts. Text
    // that could not be held ends the read early, with what it had.
    const char* Text() const { return text.Text(); }
    std::size_t Size() const { return text.Size(); }

private:
    bool Keep(const std::wstring& lines);

    std::unique_ptr<ItemReader> reader;
    std::wstring lines;
    GatheredText text;
};
