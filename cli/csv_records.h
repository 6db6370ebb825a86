// The contents as comma-separated records (RFC 4180): one record per item,
// CR LF after each, a field quoted when it holds a comma, a double quote, CR
// or LF, with its quotes doubled. A list view in report view gives its titles
// first; a tree gives two fields, the depth (0 for a root) and the text; a
// list gives one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "readers/item_reader.h"

void AppendCsvField(std::wstring& records, const std::wstring& field);
void AppendCsvRecord(std::wstring& records, const std::wstring* fields, std::size_t count);

class CsvRecords final : public ItemSink {
public:
    explicit CsvRecords(std::wstring& records) : records(records) {}

    void Header(const std::vector<std::wstring>& titles) override;
    void Item(const std::wstring& text) override { AppendCsvRecord(records, &text, 1); }
    void Row(const std::wstring* cells, std::size_t count) override { AppendCsvRecord(records, cells, count); }
    void TreeItem(std::size_t depth, const std::wstring& text) override;

private:
    std::wstring& records;
};
