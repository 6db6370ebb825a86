#include "readers/reader_choice.h"

#include <commctrl.h>

#include <cwchar>
#include <cwctype>
#include <string>

#include "readers/combo_box_ex_reader.h"
#include "readers/list_box_reader.h"
#include "readers/list_view_reader.h"
#include "readers/tree_view_reader.h"

namespace {

std::wstring Lowered(const wchar_t* text)
{
    std::wstring lowered(text);
    for (wchar_t& c : lowered)
        c = static_cast<wchar_t>(std::towlower(c));
    return lowered;
}

// The window manager's list classes, which RealGetWindowClass names for any
// superclass of them, and the common controls by their own names.
ControlKind KindOfSystemClass(const wchar_t* name)
{
    if (!lstrcmpiW(name, L"ListBox") || !lstrcmpiW(name, L"ComboLBox"))
        return ControlKind::listBox;
    if (!lstrcmpiW(name, L"ComboBox"))
        return ControlKind::comboBox;
    if (!lstrcmpiW(name, WC_COMBOBOXEXW))
        return ControlKind::comboBoxEx;
    if (!lstrcmpiW(name, WC_LISTVIEWW))
        return ControlKind::listView;
    if (!lstrcmpiW(name, WC_TREEVIEWW))
        return ControlKind::treeView;
    return ControlKind::unknown;
}

// Microsoft's table of the values the controls answer (65536 + index).
ControlKind KindOfClassIndex(HWND window, UINT timeout)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_QUERYCLASSNAMEIDX), SMTO_ABORTIFHUNG,
                             timeout, &answer))
        return ControlKind::unknown;
    switch (answer) {
    case 65536 + 0:
        return ControlKind::listBox;
    case 65536 + 5:
        return ControlKind::comboBox;
    case 65536 + 19:
        return ControlKind::listView;
    case 65536 + 25:
        return ControlKind::treeView;
    default:
        return ControlKind::unknown;
    }
}

ControlKind KindOfClassName(const wchar_t* name)
{
    const std::wstring lowered = Lowered(name);
    for (const ClassPattern& pattern : kClassPatterns) {
        const std::wstring wanted = Lowered(pattern.name);
        if (pattern.within ? lowered.find(wanted) != std::wstring::npos : lowered == wanted)
            return pattern.kind;
    }
    return ControlKind::unknown;
}

}  // namespace

ControlKind RecogniseControl(HWND window, UINT timeout)
{
    wchar_t name[256] = {};
    if (!window || !RealGetWindowClassW(window, name, 256))
        return ControlKind::unknown;
    ControlKind kind = KindOfSystemClass(name);
    if (kind == ControlKind::unknown)
        kind = KindOfClassIndex(window, timeout);
    if (kind == ControlKind::unknown)
        kind = KindOfClassName(name);
    return kind;
}

std::unique_ptr<ItemReader> ReaderFor(HWND window, UINT timeout)
{
    switch (RecogniseControl(window, timeout)) {
    case ControlKind::listView:
        return std::make_unique<ListViewReader>(window, timeout);
    case ControlKind::treeView:
        return std::make_unique<TreeViewReader>(window, timeout);
    case ControlKind::comboBox:
        return std::make_unique<ListBoxReader>(window, kComboBoxMessages, timeout);
    case ControlKind::comboBoxEx:
        return std::make_unique<ComboBoxExReader>(window, timeout);
    case ControlKind::listBox:
    case ControlKind::unknown:
        break;
    }
    // List boxes, the drop-down part of a combo box, and whatever else was
    // picked: the list-box questions, as ever.
    return std::make_unique<ListBoxReader>(window, kListBoxMessages, timeout);
}
