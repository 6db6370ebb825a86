// The columns of a list view in report view, in the order the user sees
// them (dragging a header reorders the columns on screen only), with their
// header texts.
#pragma once

#include <string>
#include <vector>

#include "readers/remote/remote_control.h"

struct ListViewColumns {
    std::vector<int> subItems;  // what each column shows, left to right
    std::vector<std::wstring> titles;
};

// False when the list view stopped answering.
bool IsReportView(RemoteControl& list, bool& report);

// False when the list view stopped answering; no columns when it has none.
bool ReadColumns(RemoteControl& list, ListViewColumns& columns);
