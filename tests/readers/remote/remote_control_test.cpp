#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "readers/remote/remote_control.h"
#include "tests/support/scripted_control.h"

namespace {

std::wstring CellText(RemoteControl& list, int row, std::vector<std::wstring>& texts)
{
    const ListItemLayout& layout = list.Layouts().listItem;
    std::vector<unsigned char> records(layout.record.size, 0);
    Put32(records, layout.record.mask, LVIF_TEXT);
    Put32(records, layout.item, static_cast<std::uint32_t>(row));
    return list.AskTexts(LVM_GETITEMTEXTW, {static_cast<WPARAM>(row)}, layout.record, records, false, texts) == 1
               ? texts[0]
               : L"(not read)";
}

list_test::ControlSetup ListView(std::function<void(HWND)> prepare)
{
    return list_test::ControlOf(WC_LISTVIEWA, LVS_REPORT, std::move(prepare));
}

TEST(RemoteControlTest, AQuestionLeftUnansweredEndsTheReadWithinItsTimeout)
{
    list_test::ControlThread target(ListView(nullptr));
    RemoteControl list(target.Control(), 300, 1000);
    ASSERT_EQ(RemoteProblem::none, list.Open());
    EXPECT_EQ(0, list.AskCount(LVM_GETITEMCOUNT));
    target.Freeze();
    const DWORD start = GetTickCount();
    EXPECT_EQ(-1, list.AskCount(LVM_GETITEMCOUNT));
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_FALSE(list.Usable());
    EXPECT_EQ(RemoteFailure::silent, list.Failure());
}

// Texts a program answers by pointing the record at its own memory: read
// there up to the terminator, no further than the longest text believed, a
// page that cannot be read ending the text but not the read.
TEST(RemoteControlTest, TextsAnsweredByPointerAreReadFromTheProgram)
{
    // Two runs of a readable page and a page that cannot be read: one page
    // full of text without a terminator, one with a text ending at its end.
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    wchar_t* runs[2] = {};
    for (wchar_t*& run : runs) {
        run = static_cast<wchar_t*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE, PAGE_NOACCESS));
        ASSERT_TRUE(run && VirtualAlloc(run, page, MEM_COMMIT, PAGE_READWRITE));
        std::fill(run, run + page / 2, L'r');
    }
    wchar_t* atEdge = runs[1] + page / 2 - 5;
    lstrcpyW(atEdge, L"edge");
    const std::wstring own = L"its own text";
    const std::wstring longer(5000, L'L');
    const wchar_t* const answers[] = {own.c_str(), longer.c_str(), atEdge, runs[0], nullptr};
    list_test::ControlThread target(ListView([&](HWND list) {
        list_test::AnswerWith(list, [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            if (message != LVM_GETITEMTEXTW || wParam >= 5)
                return false;
            reinterpret_cast<LVITEMW*>(lParam)->pszText = const_cast<wchar_t*>(answers[wParam]);
            result = 0;
            return true;
        });
    }));
    RemoteControl list(target.Control(), 1000, 4096);
    ASSERT_EQ(RemoteProblem::none, list.Open());
    std::vector<std::wstring> texts;
    EXPECT_EQ(own, CellText(list, 0, texts));
    EXPECT_EQ(std::wstring(4096, L'L'), CellText(list, 1, texts));
    EXPECT_EQ(L"edge", CellText(list, 2, texts));
    EXPECT_EQ(std::wstring(std::min<size_t>(4096, page / 2), L'r'), CellText(list, 3, texts));
    EXPECT_EQ(L"", CellText(list, 4, texts));
    EXPECT_TRUE(list.Usable());
    for (wchar_t* run : runs)
        VirtualFree(run, 0, MEM_RELEASE);
}

// The block in the program grows for a long text and shrinks again for the
// next question.
TEST(RemoteControlTest, TheBlockIsAsLargeAsTheQuestionNeeds)
{
    const std::wstring longText(100000, L'x');
    list_test::ControlThread target(ListView([&](HWND list) {
        list_test::FillReport(list, {L"only"}, {{longText}, {L"short"}});
    }));
    RemoteControl list(target.Control(), 1000, 1 << 20);
    ASSERT_EQ(RemoteProblem::none, list.Open());
    std::vector<std::wstring> texts;
    EXPECT_EQ(longText, CellText(list, 0, texts));
    EXPECT_GE(list.Block().Size(), 200000u);
    EXPECT_EQ(L"short", CellText(list, 1, texts));
    EXPECT_LE(list.Block().Size(), 16384u);
}

}  // namespace
