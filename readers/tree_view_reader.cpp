#include "readers/tree_view_reader.h"

#include <commctrl.h>

#include "readers/remote/bitness.h"

TreeViewReader::TreeViewReader(HWND tree, UINT timeout) : tree(tree, timeout, static_cast<int>(kLongestItem))
{
}

CountReport TreeViewReader::Count()
{
    CountReport report;
    report.kind = Kind();
    report.count = BelievableCount(tree.AskCount(TVM_GETCOUNT));
    if (report.count >= 0 && IsWindow(tree.Window()))
        report.problem = Prepare();
    return report;
}

bool TreeViewReader::ReadNext(ItemSink& sink)
{
    if (expected < 0) {
        expected = 0;
        const int count = BelievableCount(tree.AskCount(TVM_GETCOUNT));
        ending = count < 0 ? ReadEnd::silent : ReadEnd::complete;
        if (count <= 0)
            return false;
        if (Prepare() != CountProblem::none) {
            ending = ReadEnd::refused;
            return false;
        }
        if (!Next(TVGN_ROOT, 0, current)) {
            ending = ReadEnd::silent;
            return false;
        }
        expected = count;
    }
    if (!current)
        return false;
    // A walk cut short by a silent tree has nothing more to read anyway.
    Walk();
    asks.assign(depths.size(), 0);
    const std::size_t read = tree.AskTexts(TVM_GETITEMW, asks, tree.Layouts().treeItem.record, records, true, texts);
    for (std::size_t i = 0; i < read; ++i)
        sink.TreeItem(depths[i], texts[i]);
    handled += static_cast<int>(read);
    if (read < depths.size()) {
        current = 0;
        ending = ReadEnd::silent;
    } else if (handled >= kMostItems) {
        // A control that keeps answering items beyond any list's size is
        // not walking a tree.
        current = 0;
        ending = ReadEnd::limit;
    }
    return current != 0;
}

// A step's items from the current one on, each with its record and depth.
// An item costs about three questions: its text, its first child, its next
// sibling.
void TreeViewReader::Walk()
{
    const TreeItemLayout& layout = tree.Layouts().treeItem;
    records.clear();
    depths.clear();
    while (current && depths.size() < static_cast<std::size_t>(kQuestionsPerStep / 3)) {
        const std::size_t at = records.size();
        records.resize(at + layout.record.size, 0);
        Put32(records, at + layout.record.mask, TVIF_TEXT);
        PutPointer(records, at + layout.item, current, tree.Layouts().pointerSize);
        depths.push_back(ancestors.size());
        if (!Advance())
            current = 0;
    }
}

CountProblem TreeViewReader::Prepare()
{
    const CountProblem problem = ProblemOf(tree.Open());
    if (problem == CountProblem::none && !kThisIs64Bit && tree.Block().TargetIs64Bit() && !HandlesReachThisSide())
        return CountProblem::needs64Bit;
    return problem;
}

// A 32-bit Quarvel sees only the low half of a 64-bit program's item handles.
// A hit test on the top row has the program write that item's whole handle
// into the block: if it is the handle seen here, the program keeps its items
// low enough for this side to name them.
bool TreeViewReader::HandlesReachThisSide()
{
    std::uint64_t top = 0;
    std::uint64_t root = 0;
    if (!Next(TVGN_FIRSTVISIBLE, 0, top) || !Next(TVGN_ROOT, 0, root))
        return false;
    if (!top)
        return !root;
    const HitTestLayout& layout = tree.Layouts().hitTest;
    std::vector<unsigned char> record(layout.size, 0);
    Put32(record, layout.point, 1);
    Put32(record, layout.point + 4, 1);
    DWORD_PTR reply = 0;
    std::uint64_t hit = 0;
    RemoteBlock& block = tree.Block();
    if (!block.Write(0, record.data(), record.size()) || !tree.Ask(TVM_HITTEST, 0, block.Param(0), reply) ||
        !block.Read(layout.item, &hit, sizeof(hit)))
        return false;
    return hit == top && ArrivesUnchanged(hit, true);
}

bool TreeViewReader::Next(UINT relation, std::uint64_t from, std::uint64_t& item)
{
    const bool target64 = tree.Block().TargetIs64Bit();
    DWORD_PTR reply = 0;
    if (!ArrivesUnchanged(from, target64) ||
        !tree.Ask(TVM_GETNEXTITEM, relation, static_cast<LPARAM>(from), reply))
        return false;
    item = ValueFromReply(reply, target64);
    return true;
}

// To the first child, else to the next sibling of the item or of the nearest
// ancestor that has one.
bool TreeViewReader::Advance()
{
    std::uint64_t found = 0;
    if (!Next(TVGN_CHILD, current, found))
        return false;
    if (found) {
        ancestors.push_back(current);
        current = found;
        return true;
    }
    for (;;) {
        if (!Next(TVGN_NEXT, current, found))
            return false;
        if (found) {
            current = found;
            return true;
        }
        if (ancestors.empty()) {
            current = 0;
            return true;
        }
        current = ancestors.back();
        ancestors.pop_back();
    }
}
