// Reads a list view of any program: in report view a line of column headers,
// then one line per item with every column in the order the user sees them,
// separated by TAB; in the other views the item texts. The read goes a
// question at a time when the pace asks it to: first the count, the view, the
// column titles and their order, then the cells, a step's worth asked
// together through one block in the list view's program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "readers/item_reader.h"
#include "readers/read_limits.h"
#include "readers/remote/remote_control.h"

class ListViewReader final : public ItemReader {
public:
    explicit ListViewReader(HWND list, UINT timeout = kListReplyTimeout, TimedSend send = &SendMessageTimeoutW);

    const char* Kind() const override { return "ListView"; }
    CountReport Count() override;
    bool ReadNext(ItemSink& sink) override;
    void SetPace(ReadPace* readPace) override;
    int Expected() const override { return expected < 0 ? 0 : expected; }
    int Handled() const override { return next; }

private:
    enum class Stage { count, view, titles, order, cells, over };

    bool AskCount();
    bool AskView();
    bool AskTitle();
    bool AskOrder(ItemSink& sink);
    bool AskCells(ItemSink& sink);
    bool HeldOrEnded();
    bool End(ReadEnd end);

    RemoteControl list;
    Stage stage = Stage::count;
    std::vector<std::wstring> titles;  // by column index, until shown
    std::size_t titleLength = 0;
    std::vector<int> subItems;  // one per column shown
    std::vector<unsigned char> records;
    std::vector<WPARAM> rows;
    std::vector<std::wstring> cells;  // the answers of one step
    std::vector<std::wstring> row;    // the cells of the row under way
    std::size_t rowLength = 0;
    std::uint64_t nextCell = 0;  // row × columns + column
    int expected = -1;           // not asked yet
    int next = 0;
};
