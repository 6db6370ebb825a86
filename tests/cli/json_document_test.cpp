#include <gtest/gtest.h>

#include <string>

#include "cli/json_document.h"

namespace {

const ControlFacts kFacts = {L"0x1a", L"My\"Class", L"treeview"};

TEST(JsonDocumentTest, StringsEscapeQuotesBackslashesControlsAndLoneSurrogatesOnly)
{
    std::wstring json;
    AppendJsonString(json, L"a\"b\\c\r\n\t\x01 \u00e9 \U0001F600 \xD800 x\xDC00");
    EXPECT_EQ(L"\"a\\\"b\\\\c\\r\\n\\t\\u0001 \u00e9 \U0001F600 \\ud800 x\\udc00\"", json);
}

TEST(JsonDocumentTest, TreeItemsNestTheirChildrenAndCloseAtAnyDepth)
{
    JsonDocument document;
    document.TreeItem(0, L"a");
    document.TreeItem(1, L"b");
    document.TreeItem(2, L"c");
    document.TreeItem(0, L"d");
    document.TreeItem(1, L"e");
    document.TreeItem(1, L"f");
    EXPECT_EQ(L"{\"window\":\"0x1a\",\"class\":\"My\\\"Class\",\"kind\":\"treeview\",\"count\":6,\"items\":["
              L"{\"text\":\"a\",\"children\":[{\"text\":\"b\",\"children\":[{\"text\":\"c\",\"children\":[]}]}]},"
              L"{\"text\":\"d\",\"children\":[{\"text\":\"e\",\"children\":[]},{\"text\":\"f\",\"children\":[]}]}"
              L"]}\r\n",
              document.Document(kFacts));
}

TEST(JsonDocumentTest, ReportRowsAreArraysAfterTheColumnsOtherItemsStrings)
{
    JsonDocument report;
    report.Header({L"Name"});
    const std::wstring cell = L"x";
    report.Row(&cell, 1);
    report.Row(&cell, 1);
    EXPECT_EQ(L"{\"window\":\"0x1a\",\"class\":\"My\\\"Class\",\"kind\":\"treeview\",\"count\":2,"
              L"\"columns\":[\"Name\"],\"items\":[[\"x\"],[\"x\"]]}\r\n",
              report.Document(kFacts));

    JsonDocument list;
    list.Row(&cell, 1);
    list.Item(L"y");
    EXPECT_EQ(L"{\"window\":\"0x1a\",\"class\":\"My\\\"Class\",\"kind\":\"treeview\",\"count\":2,"
              L"\"items\":[\"x\",\"y\"]}\r\n",
              list.Document(kFacts));
}

}  // namespace
