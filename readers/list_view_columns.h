// The columns of a list view in report view, in the order the user sees
// them (dragging a header reorders the columns on screen only), with their
// header texts: one question each, so that a slow list view can be read a
// question at a time.
#pragma once

#include <string>
#include <vector>

#include "readers/remote/remote_control.h"

// Enough for any list a person reads; a control answering more is not one.
constexpr int kMostColumns = 4096;

// False when the list view did not answer or the pace held the question.
bool IsReportView(RemoteControl& list, bool& report);

// The header text of `column`; TextAnswer::refused past the last column.
TextAnswer ReadTitle(RemoteControl& list, int column, std::wstring& title);

// Column indexes left to right as shown; in index order when the list view
// answers something that is not an arrangement of its `count` columns. False
// when the list view did not answer or the pace held the question.
bool ReadOrder(RemoteControl& list, int count, std::vector<int>& order);
