// Which reader a picked window gets: the kind of list control it is. Toolkits
// wrap the system's list views and tree views in classes of their own names,
// so a control is recognised by what it is, in this order:
//   1. the class the system names for it (RealGetWindowClass: the window
//      manager's own classes by their base, a common control by its name);
//   2. its answer to WM_GETOBJECT with OBJID_QUERYCLASSNAMEIDX, which the
//      window manager's controls and the common controls give whatever their
//      class is called (a superclass answers as its base);
//   3. the class names toolkits give them, in one table (kClassPatterns).
// List-view and tree-view questions carry numbers that a custom control may
// give meanings of its own: they go only to a window recognised as one.
#pragma once

#include <windows.h>

#include <memory>

#include "readers/item_reader.h"
#include "readers/read_limits.h"

enum class ControlKind {
    unknown,  // not recognised: asked as a list box, as ever
    listBox,
    comboBox,
    comboBoxEx,
    listView,
    treeView,
};

// A class name and the kind of control it is: the name itself, or any name
// that holds it (`within`), compared without regard to case.
struct ClassPattern {
    const wchar_t* name;
    bool within;
    ControlKind kind;
};

constexpr ClassPattern kClassPatterns[] = {
    // The common controls' own names, and any toolkit's name around them:
    // WindowsForms10.SysListView32.app.0.*, ATL:SysTreeView32, ...
    {L"SysListView32", true, ControlKind::listView},
    {L"SysTreeView32", true, ControlKind::treeView},
    {L"ComboBoxEx32", true, ControlKind::comboBoxEx},
    // The window manager's own list and combo boxes under a toolkit's name
    // (WindowsForms10.COMBOBOX.app.0.*, TComboBox, ThunderRT6ListBox), for
    // systems that do not name their base class (Wine).
    {L"ComboBox", true, ControlKind::comboBox},
    {L"ListBox", true, ControlKind::listBox},
    // Delphi and C++Builder (VCL).
    {L"TListView", false, ControlKind::listView},
    {L"TTreeView", false, ControlKind::treeView},
    // Visual Basic 6's and 5's common controls.
    {L"ListView20WndClass", false, ControlKind::listView},
    {L"TreeView20WndClass", false, ControlKind::treeView},
    {L"ListViewWndClass", false, ControlKind::listView},
    {L"TreeViewWndClass", false, ControlKind::treeView},
};

// May ask the window one question, waiting at most `timeout`.
ControlKind RecogniseControl(HWND window, UINT timeout = kListReplyTimeout);

// The reader for the window's kind of control; the list-box reader for
// anything unknown.
std::unique_ptr<ItemReader> ReaderFor(HWND window, UINT timeout = kListReplyTimeout);
