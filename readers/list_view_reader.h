// Reads a list view of any program: in report view a line of column headers,
// then one line per item with every column in the order the user sees them,
// separated by TAB; in the other views the item texts. Each step reads a few
// items, their texts asked for together through one block in the list view's
// program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "readers/item_reader.h"
#include "readers/read_limits.h"
#include "readers/remote/remote_control.h"

class ListViewReader final : public ItemReader {
public:
    explicit ListViewReader(HWND list, UINT timeout = kListReplyTimeout);

    const char* Kind() const override { return "ListView"; }
    CountReport Count() override;
    bool ReadNext(ItemSink& sink) override;
    int Expected() const override { return expected < 0 ? 0 : expected; }
    int Handled() const override { return next; }

private:
    bool Start(ItemSink& sink);

    RemoteControl list;
    std::vector<int> subItems;  // one per column shown
    std::vector<unsigned char> records;
    std::vector<WPARAM> rows;
    std::vector<std::wstring> cells;
    int expected = -1;  // not started
    int next = 0;
};
