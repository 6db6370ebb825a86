// Controls that answer as no well-behaved one does, each a real list view or
// tree view of another thread whose answers the test writes, and what the
// user is shown for it: the contents, and the words on the count line.
#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "readers/list_box_reader.h"
#include "readers/list_view_reader.h"
#include "readers/sliced_read.h"
#include "readers/tree_view_reader.h"
#include "tests/support/read_all.h"
#include "tests/support/scripted_control.h"
#include "tests/support/test_window.h"

namespace {

using list_test::ControlOf;
using list_test::ControlSetup;
using list_test::ControlThread;

std::wstring CutShort(const ItemReader& reader)
{
    return CutShortSentence(reader.Kind(), reader.Expected(), reader.Ending());
}

// The answers the tree's program would give: its items' texts kept by the
// program and answered by pointer, as Windows' tree view answers texts its
// program supplies on demand (TVN_GETDISPINFO), and the walk's answers.
struct TreeScript {
    int count = 0;
    std::map<std::pair<WPARAM, LPARAM>, LRESULT> next;  // (relation, from) -> item
    std::map<LPARAM, std::wstring> texts;

    bool Answer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        if (message == TVM_GETCOUNT) {
            result = count;
        } else if (message == TVM_GETNEXTITEM) {
            const auto found = next.find({wParam, wParam == TVGN_ROOT ? 0 : lParam});
            result = found == next.end() ? 0 : found->second;
        } else if (message == TVM_GETITEMW) {
            auto* item = reinterpret_cast<TVITEMW*>(lParam);
            item->pszText = &texts[reinterpret_cast<LPARAM>(item->hItem)][0];
            result = TRUE;
        } else {
            return false;
        }
        return true;
    }
};

ControlSetup ScriptedTree(TreeScript& script)
{
    return ControlOf(WC_TREEVIEWA, TVS_HASBUTTONS, [&script](HWND tree) {
        list_test::AnswerWith(tree, [&script](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            return script.Answer(message, wParam, lParam, result);
        });
    });
}

TEST(HostileAnswersTest, ATreeWhoseAnswersLoopIsReadAsFarAsItsCountAllows)
{
    TreeScript script;
    script.count = 3;
    script.next = {{{TVGN_ROOT, 0}, 1}, {{TVGN_CHILD, 1}, 2}, {{TVGN_CHILD, 2}, 3}, {{TVGN_CHILD, 3}, 1}};
    script.texts = {{1, L"one"}, {2, L"two"}, {3, L"three"}};
    ControlThread target(ScriptedTree(script));
    TreeViewReader reader(target.Control());
    const std::wstring text = list_test::ReadAll(reader);
    EXPECT_EQ(0u, text.find(L"one\r\n\ttwo\r\n\t\tthree\r\n\t\t\tone\r\n"));
    EXPECT_EQ(19u, reader.Handled()) << "three items, an eighth more, and sixteen";
    EXPECT_EQ(L"TreeView contains 3 items, read cut short: its answers ran past what it holds", CutShort(reader));
}

TEST(HostileAnswersTest, TreeTextsAnsweredByPointerAreShown)
{
    TreeScript script;
    script.count = 3;
    script.next = {{{TVGN_ROOT, 0}, 1}, {{TVGN_CHILD, 1}, 2}, {{TVGN_NEXT, 1}, 3}};
    script.texts = {{1, L"Inbox"}, {2, std::wstring(3000, L'm')}, {3, L"Sent \u2709"}};
    ControlThread target(ScriptedTree(script));
    TreeViewReader reader(target.Control());
    EXPECT_EQ(L"Inbox\r\n\t" + std::wstring(3000, L'm') + L"\r\nSent \u2709\r\n", list_test::ReadAll(reader));
    EXPECT_EQ(L"", CutShort(reader));
}

TEST(HostileAnswersTest, AColumnTitleThatFillsEveryBufferEndsTheRead)
{
    ControlThread target(ControlOf(WC_LISTVIEWA, LVS_REPORT, [](HWND list) {
        list_test::FillReport(list, {L"real"}, {{L"a"}, {L"b"}, {L"c"}});
        list_test::AnswerWith(list, [](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
            if (message != LVM_GETCOLUMNW)
                return false;
            auto* column = reinterpret_cast<LVCOLUMNW*>(lParam);
            std::fill_n(column->pszText, column->cchTextMax - 1, L'T');
            column->pszText[column->cchTextMax - 1] = L'\0';
            result = TRUE;
            return true;
        });
    }));
    ListViewReader reader(target.Control());
    EXPECT_EQ(L"", list_test::ReadAll(reader));
    EXPECT_EQ(L"ListView contains 3 items, read cut short: its answers ran past what it holds", CutShort(reader));
}

// Every question answered after 40 ms: a slice of 30 ms asks one question, or
// two, never a step's worth; a cancel sent to the reading thread while it
// waits stops the questions there.
TEST(HostileAnswersTest, ASlowProgramIsAskedAQuestionOrTwoPerSlice)
{
    std::atomic<int> questions{0};
    std::atomic<HWND> cancelAt{nullptr};
    ControlThread target(ControlOf(WC_LISTVIEWA, LVS_REPORT, [&](HWND list) {
        std::vector<std::vector<std::wstring>> rows(8, std::vector<std::wstring>{L"row"});
        list_test::FillReport(list, {L"slow"}, rows);
        list_test::AnswerWith(list, [&](UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message < LVM_FIRST || message >= LVM_FIRST + 0x100)
                return false;
            Sleep(40);
            if (++questions == 8 && cancelAt.load())
                SendMessageW(cancelAt.load(), WM_APP, 0, 0);
            return false;
        });
    }));
    for (bool cancel : {false, true}) {
        questions = 0;
        SlicedRead read(std::make_unique<ListViewReader>(target.Control()), nullptr, 0, 30);
        dialog_test::TestWindow caller(RECT{0, 0, 10, 10}, WS_POPUP);
        caller.OnMessage([&read](UINT message, WPARAM, LPARAM, LRESULT&) {
            if (message == WM_APP)
                read.Cancel();
            return message == WM_APP;
        });
        cancelAt = cancel ? static_cast<HWND>(caller) : nullptr;
        int most = 0;
        while (read.State() == ReadState::reading) {
            const int before = questions;
            read.Continue();
            most = std::max(most, questions - before);
        }
        EXPECT_LE(most, 2);
        EXPECT_EQ(cancel ? 8 : 12, questions.load()) << "the count, two titles (one past the last), the order, 8 cells";
        EXPECT_EQ(cancel ? ReadState::cancelled : ReadState::done, read.State());
    }
}

LRESULT WINAPI RefusedAsByAProgramOfHigherIntegrity(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

// Windows refuses messages from a program of lower integrity, and the memory
// of a program that does not grant it: every kind says so.
TEST(HostileAnswersTest, ARefusedQuestionOrProgramSaysAccessDenied)
{
    ControlThread listBox(ControlOf("LISTBOX", LBS_NOTIFY));
    ControlThread comboBox(ControlOf("COMBOBOX", CBS_DROPDOWNLIST));
    ControlThread listView(ControlOf(WC_LISTVIEWA, LVS_REPORT));
    ControlThread treeView(ControlOf(WC_TREEVIEWA, 0, [](HWND tree) { list_test::AddTreeItem(tree, TVI_ROOT, L"x"); }));
    const auto refused = RefusedAsByAProgramOfHigherIntegrity;
    std::unique_ptr<ItemReader> readers[] = {
        std::make_unique<ListBoxReader>(listBox.Control(), kListBoxMessages, 1000, refused),
        std::make_unique<ListBoxReader>(comboBox.Control(), kComboBoxMessages, 1000, refused),
        std::make_unique<ListViewReader>(listView.Control(), 1000, refused),
        std::make_unique<TreeViewReader>(treeView.Control(), 1000, refused),
    };
    for (auto& reader : readers) {
        EXPECT_EQ(KindName(reader->Kind()) + L": access denied (run Quarvel as administrator)",
                  CountSentence(reader->Count()));
        EXPECT_EQ(L"", list_test::ReadAll(*reader));
        EXPECT_EQ(ReadEnd::refused, reader->Ending()) << reader->Kind();
    }

    // This process's own memory closed to every other, as the system closes
    // an elevated program's to Quarvel.
    PACL granted = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, GetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                             nullptr, &granted, nullptr, &descriptor));
    ACL none = {};
    InitializeAcl(&none, sizeof(none), ACL_REVISION);
    SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &none,
                    nullptr);
    const CountReport report = TreeViewReader(treeView.Control()).Count();
    SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, granted,
                    nullptr);
    LocalFree(descriptor);
    EXPECT_EQ(L"TreeView: access denied (run Quarvel as administrator)", CountSentence(report));
}

}  // namespace
