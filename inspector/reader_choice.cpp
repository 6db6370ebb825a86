#include "inspector/item_reader.h"

#include <commctrl.h>

#include <new>

#include "inspector/list_box_reader.h"
#include "inspector/list_view_reader.h"
#include "inspector/tree_view_reader.h"

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

HWND ComboOfComboEx(HWND window)
{
    DWORD_PTR combo = 0;
    if (!SendMessageTimeoutW(window, CBEM_GETCOMBOCONTROL, 0, 0, SMTO_ABORTIFHUNG, kListReplyTimeout, &combo))
        return window;
    // Window handles carry 32 significant bits on every platform.
    HWND inner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(static_cast<UINT>(combo)));
    return IsWindow(inner) ? inner : window;
}

}  // namespace

std::unique_ptr<ItemReader> ReaderFor(HWND window)
{
    if (HasBaseClass(window, WC_LISTVIEWW))
        return std::make_unique<ListViewReader>(window);
    if (HasBaseClass(window, WC_TREEVIEWW))
        return std::make_unique<TreeViewReader>(window);
    if (HasBaseClass(window, L"ComboBox"))
        return std::make_unique<ListBoxReader>(window, kComboBoxMessages);
    if (HasBaseClass(window, WC_COMBOBOXEXW))
        return std::make_unique<ListBoxReader>(ComboOfComboEx(window), kComboBoxMessages);
    // List boxes, the drop-down part of a combo box, and whatever else was
    // picked: the list-box questions, as ever.
    return std::make_unique<ListBoxReader>(window, kListBoxMessages);
}
