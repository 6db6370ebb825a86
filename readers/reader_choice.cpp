#include "readers/reader_choice.h"

#include <commctrl.h>

#include "readers/list_box_reader.h"
#include "readers/list_view_reader.h"
#include "readers/tree_view_reader.h"

namespace {

// The class the control was built on, so that a superclassed control (a
// toolkit's own name around a system list view, say) is read as what it is.
bool HasBaseClass(HWND window, const wchar_t* name)
{
    wchar_t base[64] = {};
    if (!RealGetWindowClassW(window, base, 64))
        return false;
    return lstrcmpiW(base, name) == 0;
}

HWND ComboOfComboEx(HWND window, UINT timeout)
{
    DWORD_PTR combo = 0;
    if (!SendMessageTimeoutW(window, CBEM_GETCOMBOCONTROL, 0, 0, SMTO_ABORTIFHUNG, timeout, &combo))
        return window;
    // Window handles carry 32 significant bits on every platform.
    HWND inner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(static_cast<UINT>(combo)));
    return IsWindow(inner) ? inner : window;
}

}  // namespace

ControlKind RecogniseControl(HWND window)
{
    if (HasBaseClass(window, WC_LISTVIEWW))
        return ControlKind::listView;
    if (HasBaseClass(window, WC_TREEVIEWW))
        return ControlKind::treeView;
    if (HasBaseClass(window, L"ComboBox"))
        return ControlKind::comboBox;
    if (HasBaseClass(window, WC_COMBOBOXEXW))
        return ControlKind::comboBoxEx;
    if (HasBaseClass(window, L"ListBox") || HasBaseClass(window, L"ComboLBox"))
        return ControlKind::listBox;
    return ControlKind::unknown;
}

std::unique_ptr<ItemReader> ReaderFor(HWND window, UINT timeout)
{
    switch (RecogniseControl(window)) {
    case ControlKind::listView:
        return std::make_unique<ListViewReader>(window, timeout);
    case ControlKind::treeView:
        return std::make_unique<TreeViewReader>(window, timeout);
    case ControlKind::comboBox:
        return std::make_unique<ListBoxReader>(window, kComboBoxMessages, timeout);
    case ControlKind::comboBoxEx:
        return std::make_unique<ListBoxReader>(ComboOfComboEx(window, timeout), kComboBoxMessages, timeout);
    case ControlKind::listBox:
    case ControlKind::unknown:
        break;
    }
    // List boxes, the drop-down part of a combo box, and whatever else was
    // picked: the list-box questions, as ever.
    return std::make_unique<ListBoxReader>(window, kListBoxMessages, timeout);
}
