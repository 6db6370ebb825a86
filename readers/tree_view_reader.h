// Reads a tree view of any program depth first, one item per line, indented
// by one TAB per level below the roots. Each step walks a few items and then
// asks for their texts together through one block in the tree's program. Collapsed branches are
// read too: the walk follows the items the control holds, not what it shows,
// and never expands, selects or scrolls anything.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "readers/item_reader.h"
#include "readers/read_limits.h"
#include "readers/remote/remote_control.h"

class TreeViewReader final : public ItemReader {
public:
    explicit TreeViewReader(HWND tree, UINT timeout = kListReplyTimeout);

    const char* Kind() const override { return "TreeView"; }
    CountReport Count() override;
    bool ReadNext(ItemSink& sink) override;
    int Expected() const override { return expected < 0 ? 0 : expected; }
    int Handled() const override { return handled; }

private:
    CountProblem Prepare();
    bool HandlesReachThisSide();
    bool Next(UINT relation, std::uint64_t from, std::uint64_t& item);
    void Walk();
    bool Advance();

    RemoteControl tree;
    std::vector<std::uint64_t> ancestors;  // of the current item, the root first
    std::uint64_t current = 0;             // the item read next; 0 when done
    std::vector<std::size_t> depths;       // of the items of one step
    std::vector<WPARAM> asks;
    std::vector<unsigned char> records;
    std::vector<std::wstring> texts;
    int expected = -1;  // not started
    int handled = 0;
};
