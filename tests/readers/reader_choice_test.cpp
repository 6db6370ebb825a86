#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <utility>
#include <vector>

#include "readers/reader_choice.h"
#include "tests/support/read_all.h"
#include "tests/support/scripted_control.h"

namespace {

// A control of no known class that says what it is when asked, as Windows'
// controls do under any class name (Wine's answer nothing).
LRESULT CALLBACK AnswersAsAListView(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_QUERYCLASSNAMEIDX)
        return 65536 + 19;
    return DefWindowProcW(window, message, wParam, lParam);
}

ControlKind KindOf(const char* controlClass)
{
    list_test::ControlThread target(list_test::ControlOf(controlClass, 0));
    return RecogniseControl(target.Control());
}

TEST(ReaderChoiceTest, ControlsAreRecognisedByWhatTheyAreWhateverTheirName)
{
    list_test::RegisterSuperclass(WC_LISTVIEWW, L"WindowsForms10.SysListView32.app.0.1");
    list_test::RegisterSuperclass(WC_TREEVIEWW, L"TTreeView");
    list_test::RegisterSuperclass(L"ListBox", L"TListBox");
    list_test::RegisterSuperclass(L"ComboBox", L"TComboBox");
    list_test::RegisterControlClass(L"QuarvelOpaqueListView", AnswersAsAListView);
    const std::pair<const char*, ControlKind> kinds[] = {
        {"SysListView32", ControlKind::listView},
        {"WindowsForms10.SysListView32.app.0.1", ControlKind::listView},
        {"TTreeView", ControlKind::treeView},
        {"QuarvelOpaqueListView", ControlKind::listView},
        {"TListBox", ControlKind::listBox},
        {"TComboBox", ControlKind::comboBox},
        {"STATIC", ControlKind::unknown},
    };
    for (const auto& kind : kinds)
        EXPECT_EQ(kind.second, KindOf(kind.first)) << kind.first;
}

// Both kinds of combo box are read as the list they hold: the extended one
// through the combo box inside it, which holds its items' texts.
TEST(ReaderChoiceTest, ComboBoxesOfEitherKindAreReadAsTheirLists)
{
    const auto fill = [](const char* controlClass) {
        return list_test::ControlOf(controlClass, CBS_DROPDOWNLIST, [](HWND combo) {
            for (const wchar_t* text : {L"one", L"caf\u00e9 \u65e5\u672c"}) {
                COMBOBOXEXITEMW item = {};
                item.mask = CBEIF_TEXT;
                item.iItem = -1;
                item.pszText = const_cast<wchar_t*>(text);
                if (!SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0))
                    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
                else
                    SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            }
        });
    };
    for (const char* controlClass : {"ComboBox", "ComboBoxEx32"}) {
        list_test::ControlThread target(fill(controlClass));
        std::unique_ptr<ItemReader> reader = ReaderFor(target.Control());
        EXPECT_EQ(L"ComboBox contains 2 items", CountSentence(reader->Count())) << controlClass;
        EXPECT_EQ(L"one\r\ncaf\u00e9 \u65e5\u672c\r\n", list_test::ReadAll(*reader)) << controlClass;
    }
}

// A custom control may give list-view and tree-view message numbers meanings
// of its own: one that is not recognised is asked as a list box only.
TEST(ReaderChoiceTest, AnUnrecognisedControlGetsNoListViewOrTreeViewQuestion)
{
    list_test::RegisterControlClass(L"QuarvelCustomControl", DefWindowProcW);
    std::atomic<int> above{0};
    list_test::ControlThread target(list_test::ControlOf("QuarvelCustomControl", 0, [&above](HWND control) {
        list_test::AnswerWith(control, [&above](UINT message, WPARAM, LPARAM, LRESULT&) {
            above += message >= WM_USER;
            return false;
        });
    }));
    std::unique_ptr<ItemReader> reader = ReaderFor(target.Control());
    EXPECT_EQ(L"ListBox contains 0 items", CountSentence(reader->Count()));
    EXPECT_EQ(L"", list_test::ReadAll(*reader));
    EXPECT_EQ(0, above.load());
}

}  // namespace
