// Reads a list view of any program: in report view a line of column headers,
// then one line per item with every column in the order the user sees them,
// separated by TAB; in the other views the item texts. One item per step; the
// texts of one item's columns are asked for together, through one block in
// the list view's program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "inspector/item_reader.h"
#include "inspector/list_box_reader.h"
#include "inspector/remote_control.h"

class ListViewReader final : public ItemReader {
public:
    explicit ListViewReader(HWND list, UINT timeout = kListReplyTimeout);

    CountReport Count() override;
    bool ReadNext(std::wstring& lines) override;
    int Expected() const override { return expected < 0 ? 0 : expected; }
    int Handled() const override { return next; }

private:
    bool Start(std::wstring& lines);
    bool ReadRow(int row);
    bool ReadLongCell(int row, int subItem, std::wstring& cell);

    RemoteControl list;
    std::vector<int> subItems;  // one per column shown
    std::vector<std::wstring> cells;
    std::vector<unsigned char> records;
    std::vector<wchar_t> texts;
    std::vector<DWORD_PTR> lengths;
    int expected = -1;  // not started
    int next = 0;
};
