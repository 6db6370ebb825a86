#include "cli/csv_records.h"

#include "readers/tabbed_lines.h"

void AppendCsvField(std::wstring& records, const std::wstring& field)
{
    if (field.find_first_of(L",\"\r\n") != std::wstring::npos)
        AppendQuoted(records, field);
    else
        records += field;
}

void AppendCsvRecord(std::wstring& records, const std::wstring* fields, std::size_t count)
{
    AppendFields(records, fields, count, L',', &AppendCsvField);
}

void CsvRecords::Header(const std::vector<std::wstring>& titles)
{
    AppendCsvRecord(records, titles.data(), titles.size());
}

void CsvRecords::TreeItem(std::size_t depth, const std::wstring& text)
{
    const std::wstring fields[] = {std::to_wstring(depth), text};
    AppendCsvRecord(records, fields, 2);
}
