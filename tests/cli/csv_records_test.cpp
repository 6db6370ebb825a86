#include <gtest/gtest.h>

#include <string>

#include "cli/csv_records.h"

namespace {

TEST(CsvRecordsTest, FieldsAreQuotedOnlyForCommaQuoteCrOrLf)
{
    std::wstring records;
    CsvRecords sink(records);
    sink.Header({L"Name", L"a,b"});
    const std::wstring cells[] = {L"tab\tkept", L"say \"hi\"", L"cr\r", L"lf\n", L""};
    sink.Row(cells, 5);
    EXPECT_EQ(L"Name,\"a,b\"\r\ntab\tkept,\"say \"\"hi\"\"\",\"cr\r\",\"lf\n\",\r\n", records);
}

TEST(CsvRecordsTest, TreeItemsGiveTheirDepthThenTheirText)
{
    std::wstring records;
    CsvRecords sink(records);
    sink.TreeItem(0, L"root");
    sink.TreeItem(12, L"deep, down");
    sink.Item(L"\u65e5\u672c");
    EXPECT_EQ(L"0,root\r\n12,\"deep, down\"\r\n\u65e5\u672c\r\n", records);
}

}  // namespace
