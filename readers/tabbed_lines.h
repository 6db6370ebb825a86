// The contents of a control with columns or levels as lines of TAB-separated
// fields, so that they paste into a spreadsheet as the same rows and columns.
// A field that holds a TAB, CR or LF, or that begins with a double quote
// (which a spreadsheet would take as the start of a quoted field), is written
// between double quotes with the quotes inside doubled.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "readers/item_reader.h"

void AppendField(std::wstring& line, const std::wstring& field);

// The field between double quotes, its own quotes doubled: the quoting that
// spreadsheets and CSV readers alike take back.
void AppendQuoted(std::wstring& line, const std::wstring& field);

// The fields, each written by `appendField`, separated by `separator`, then
// CR LF.
using FieldWriter = void (*)(std::wstring& line, const std::wstring& field);
void AppendFields(std::wstring& lines, const std::wstring* fields, std::size_t count, wchar_t separator,
                  FieldWriter appendField);

// The fields separated by TAB, then CR LF.
void AppendRow(std::wstring& lines, const std::wstring* fields, std::size_t count);
inline void AppendRow(std::wstring& lines, const std::vector<std::wstring>& fields)
{
    AppendRow(lines, fields.data(), fields.size());
}

// One TAB per level below the top, the field, then CR LF.
void AppendIndented(std::wstring& lines, std::size_t depth, const std::wstring& field);

// Each half of a surrogate pair that stands alone from `from` on becomes
// U+FFFD: it is no character, and the text is shown and copied as text.
void ReplaceLoneSurrogates(std::wstring& text, std::size_t from = 0);

// The contents as the dialog shows them: a list box's items as they are, a
// list view's header and rows as tabbed lines, a tree's items indented; a
// lone half of a surrogate pair as U+FFFD. Defined in tabbed_lines.cpp.
class TabbedLines final : public ItemSink {
public:
    explicit TabbedLines(std::wstring& lines) : lines(lines) {}

    void Header(const std::vector<std::wstring>& titles) override;
    void Item(const std::wstring& text) override;
    void Row(const std::wstring* cells, std::size_t count) override;
    void TreeItem(std::size_t depth, const std::wstring& text) override;

private:
    std::wstring& lines;
};
