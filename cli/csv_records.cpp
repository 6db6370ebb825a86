#include "cli/csv_records.h"

void AppendCsvField(std::wstring& records, const std::wstring& field)
{
    if (field.find_first_of(L",\"\r\n") == std::wstring::npos) {
        records += field;
        return;
    }
    records += L'"';
    for (wchar_t c : field) {
        if (c == L'"')
            records += L'"';
        records += c;
    }
    records += L'"';
}

void AppendCsvRecord(std::wstring& records, const std::wstring* fields, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            records += L',';
        AppendCsvField(records, fields[i]);
    }
    records += L"\r\n";
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
