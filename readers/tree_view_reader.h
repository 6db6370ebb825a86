// Reads a tree view of any program depth first, one item per line, indented
// by one TAB per level below the roots. The walk asks for a step's items one
// question at a time (an item's first child, its next sibling), then for
// their texts together through one block in the tree's program. Collapsed
// branches are read too: the walk follows the items the control holds, not
// what it shows, and never expands, selects or scrolls anything. It believes
// no more items, and no more levels, than the tree counts (with a margin for
// items added meanwhile): a tree whose answers loop ends there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "readers/item_reader.h"
#include "readers/read_limits.h"
#include "readers/remote/remote_control.h"
#include "readers/tree_handles.h"

class TreeViewReader final : public ItemReader {
public:
    explicit TreeViewReader(HWND tree, UINT timeout = kListReplyTimeout, TimedSend send = &SendMessageTimeoutW);

    const char* Kind() const override { return "TreeView"; }
    CountReport Count() override;
    bool ReadNext(ItemSink& sink) override;
    void SetPace(ReadPace* readPace) override;
    int Expected() const override { return expected < 0 ? 0 : expected; }
    int Handled() const override { return handled; }

private:
    enum class Stage { count, prove, root, walk, over };
    // The walk's next question about `current`.
    enum class Move { enter, child, sibling, done };
    struct Walked {
        std::uint64_t item;
        std::size_t depth;
    };

    bool AskCount();
    bool ProveRow();
    bool AskRoot();
    bool Walk(ItemSink& sink);
    bool WalkOne();
    bool ReadTexts(ItemSink& sink);
    bool Next(UINT relation, std::uint64_t from, std::uint64_t& item);
    CountProblem Prepare(int count);
    bool HeldOrEnded();
    bool End(ReadEnd end);

    RemoteControl tree;
    TreeHandles handles;
    Stage stage = Stage::count;
    Move move = Move::enter;
    std::vector<std::uint64_t> ancestors;  // of the current item, the root first
    std::uint64_t current = 0;
    std::vector<Walked> walked;  // walked, their texts not read yet
    std::vector<WPARAM> asks;
    std::vector<unsigned char> records;
    std::vector<std::wstring> texts;
    std::size_t entered = 0;  // items walked so far
    std::size_t bound = 0;    // the most items, and levels, believed
    bool cutShort = false;    // the walk reached the bound
    int expected = -1;        // not asked yet
    int handled = 0;
};
