#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "readers/list_view_reader.h"
#include "tests/support/list_fixture_process.h"
#include "tests/support/read_all.h"
#include "tests/support/scripted_control.h"

namespace {

using list_test::ReadAll;

std::wstring Digits(size_t length)
{
    std::wstring digits;
    while (digits.size() < length)
        digits += static_cast<wchar_t>(L'0' + digits.size() % 10);
    return digits;
}

TEST(ListViewReaderTest, ListViewsOfAnotherProgramInTheOrderShown)
{
    list_test::ListFixtureProcess* fixture = list_test::SharedFixture();
    if (!fixture)
        GTEST_SKIP() << "no list fixture";
    ListViewReader report(fixture->Control(301));
    EXPECT_EQ(L"ListView contains 4 items", CountSentence(report.Count()));
    EXPECT_EQ(L"Note\tName\tSize\r\n"
              L"plain\talpha\t1\r\n"
              L"\"line one\r\nline two\"\t\"tab\there\"\t2\r\n"
              L"say \"hi\"\t\u4E2D\u6587 \U0001D11E\t3\r\n"
              L"\t\"\"\"quoted\"\" start\"\t\r\n",
              ReadAll(report));
    ListViewReader virtualList(fixture->Control(302));
    EXPECT_EQ(L"virtual 0\r\nvirtual 1\r\nvirtual 2\r\n" + Digits(1000) + L"\r\n", ReadAll(virtualList));
}

// Ten rows of three cells, one of them too long for its first slot, and an
// order of the columns that is no arrangement of them: read whole, then a
// question at a time (a row's cells across steps, the long cell's second
// question in the next slice).
TEST(ListViewReaderTest, AQuestionAtATimeReadsTheSameRows)
{
    std::vector<std::vector<std::wstring>> rows;
    std::wstring expected = L"A\tB\tC\r\n";
    for (int row = 0; row < 10; ++row) {
        rows.push_back({L"a" + std::to_wstring(row), row == 5 ? Digits(300) : L"b" + std::to_wstring(row),
                        L"c" + std::to_wstring(row)});
        expected += rows.back()[0] + L"\t" + rows.back()[1] + L"\t" + rows.back()[2] + L"\r\n";
    }
    list_test::ControlThread target(list_test::ControlOf(WC_LISTVIEWA, LVS_REPORT, [&rows](HWND list) {
        list_test::FillReport(list, {L"A", L"B", L"C"}, rows);
        list_test::AnswerWith(list, [](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
            if (message != LVM_GETCOLUMNORDERARRAY)
                return false;
            const int order[] = {0, 0, 2};
            CopyMemory(reinterpret_cast<int*>(lParam), order, sizeof(order));
            result = TRUE;
            return true;
        });
    }));
    ListViewReader whole(target.Control());
    EXPECT_EQ(expected, ReadAll(whole));
    ListViewReader paced(target.Control());
    EXPECT_EQ(expected, ReadAll(paced, true));
    EXPECT_EQ(10, paced.Handled());
    EXPECT_EQ(ReadEnd::complete, paced.Ending());
}

}  // namespace
