// Which reader a picked window gets: the kind of list control it is.
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

ControlKind RecogniseControl(HWND window);

// The reader for the window's kind of control; the list-box reader for
// anything unknown.
std::unique_ptr<ItemReader> ReaderFor(HWND window, UINT timeout = kListReplyTimeout);
