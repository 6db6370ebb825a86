#include "readers/tree_view_reader.h"

#include <commctrl.h>

#include "readers/remote/bitness.h"
#include "readers/remote_read_end.h"

namespace {

// Items a step walks before asking their texts: about three questions each
// (the text, the first child, the next sibling).
constexpr std::size_t kItemsPerStep = kQuestionsPerStep / 3;

// Items added while the read goes on are read too, up to a margin; beyond
// it the tree's answers are taken to loop.
std::size_t BoundOf(int count)
{
    return static_cast<std::size_t>(count) + static_cast<std::size_t>(count) / 8 + 16;
}

}  // namespace

TreeViewReader::TreeViewReader(HWND tree, UINT timeout, TimedSend send)
    : tree(tree, timeout, static_cast<int>(kLongestItem), send)
{
}

void TreeViewReader::SetPace(ReadPace* readPace)
{
    ItemReader::SetPace(readPace);
    tree.SetPace(readPace);
}

CountReport TreeViewReader::Count()
{
    CountReport report;
    report.kind = Kind();
    report.count = BelievableCount(tree.AskCount(TVM_GETCOUNT));
    if (report.count < 0 && tree.Failure() == RemoteFailure::denied)
        report.problem = CountProblem::accessDenied;
    else if (report.count >= 0 && IsWindow(tree.Window()))
        report.problem = Prepare(report.count);
    return report;
}

// Get Count's view of what a read would meet: whether the program can be
// read, and from the 32-bit side whether every item can be named.
CountProblem TreeViewReader::Prepare(int count)
{
    const CountProblem problem = ProblemOf(tree.Open());
    if (problem != CountProblem::none)
        return problem;
    handles = TreeHandles(!kThisIs64Bit && tree.Block().TargetIs64Bit());
    while (handles.Needed() && !handles.AllRowsTested()) {
        if (!handles.ProveRow(tree))
            return CountProblem::needs64Bit;
    }
    return handles.Needed() && handles.Proven() < static_cast<std::size_t>(count) ? CountProblem::needs64Bit
                                                                                 : CountProblem::none;
}

bool TreeViewReader::ReadNext(ItemSink& sink)
{
    switch (stage) {
    case Stage::count:
        return AskCount();
    case Stage::prove:
        return ProveRow();
    case Stage::root:
        return AskRoot();
    case Stage::walk:
        return Walk(sink);
    case Stage::over:
        break;
    }
    return false;
}

bool TreeViewReader::End(ReadEnd end)
{
    ending = end;
    stage = Stage::over;
    return false;
}

// After a question that brought no answer to go on with: true when the pace
// only held it.
bool TreeViewReader::HeldOrEnded()
{
    if (stage == Stage::over)
        return false;
    return tree.Held() || End(EndAfter(tree.Failure()));
}

bool TreeViewReader::AskCount()
{
    const int count = BelievableCount(tree.AskCount(TVM_GETCOUNT));
    if (count < 0)
        return HeldOrEnded();
    if (count == 0)
        return End(ReadEnd::complete);
    if (tree.Open() != RemoteProblem::none)
        return End(ReadEnd::refused);
    expected = count;
    bound = BoundOf(count);
    handles = TreeHandles(!kThisIs64Bit && tree.Block().TargetIs64Bit());
    stage = handles.Needed() ? Stage::prove : Stage::root;
    return true;
}

bool TreeViewReader::ProveRow()
{
    if (!handles.ProveRow(tree))
        return HeldOrEnded();
    if (!handles.AllRowsTested())
        return true;
    if (handles.Proven() < static_cast<std::size_t>(expected))
        return End(ReadEnd::needs64Bit);
    stage = Stage::root;
    return true;
}

bool TreeViewReader::AskRoot()
{
    if (!Next(TVGN_ROOT, 0, current))
        return HeldOrEnded();
    if (!current)
        return End(ReadEnd::complete);
    stage = Stage::walk;
    return true;
}

// A step: items walked until there are a step's worth, then their texts.
bool TreeViewReader::Walk(ItemSink& sink)
{
    while (move != Move::done && walked.size() < kItemsPerStep) {
        if (!WalkOne())
            return HeldOrEnded();
    }
    if (!walked.empty() && !ReadTexts(sink))
        return HeldOrEnded();
    if (move != Move::done)
        return true;
    // From the 32-bit side a reply of 0 may have been a handle cut to 0:
    // fewer items than the tree holds is then no proof of its end.
    if (cutShort)
        return End(ReadEnd::limit);
    return End(handles.Needed() && handled < expected ? ReadEnd::needs64Bit : ReadEnd::complete);
}

// One move of the walk: to the first child, else to the next sibling of the
// item or of the nearest ancestor that has one. False when the question was
// held or went unanswered.
bool TreeViewReader::WalkOne()
{
    std::uint64_t found = 0;
    switch (move) {
    case Move::enter:
        if (entered >= bound) {
            cutShort = true;
            move = Move::done;
            return true;
        }
        walked.push_back({current, ancestors.size()});
        ++entered;
        move = Move::child;
        return true;
    case Move::child:
        if (!Next(TVGN_CHILD, current, found))
            return false;
        if (found && ancestors.size() + 1 >= bound) {
            cutShort = true;
            move = Move::done;
        } else if (found) {
            ancestors.push_back(current);
            current = found;
            move = Move::enter;
        } else {
            move = Move::sibling;
        }
        return true;
    case Move::sibling:
        if (!Next(TVGN_NEXT, current, found))
            return false;
        if (found) {
            current = found;
            move = Move::enter;
        } else if (ancestors.empty()) {
            move = Move::done;
        } else {
            current = ancestors.back();
            ancestors.pop_back();
        }
        return true;
    case Move::done:
        break;
    }
    return true;
}

bool TreeViewReader::ReadTexts(ItemSink& sink)
{
    const TreeItemLayout& layout = tree.Layouts().treeItem;
    records.assign(walked.size() * layout.record.size, 0);
    for (std::size_t i = 0; i < walked.size(); ++i) {
        const std::size_t at = i * layout.record.size;
        Put32(records, at + layout.record.mask, TVIF_TEXT);
        PutPointer(records, at + layout.item, walked[i].item, tree.Layouts().pointerSize);
    }
    asks.assign(walked.size(), 0);
    const std::size_t read = tree.AskTexts(TVM_GETITEMW, asks, layout.record, records, true, texts);
    for (std::size_t i = 0; i < read; ++i)
        sink.TreeItem(walked[i].depth, texts[i]);
    handled += static_cast<int>(read);
    walked.erase(walked.begin(), walked.begin() + static_cast<std::ptrdiff_t>(read));
    return walked.empty();
}

// A handle that cannot be named whole is never sent, nor taken from a reply.
bool TreeViewReader::Next(UINT relation, std::uint64_t from, std::uint64_t& item)
{
    const bool target64 = tree.Block().TargetIs64Bit();
    DWORD_PTR reply = 0;
    if (!ArrivesUnchanged(from, target64))
        return End(ReadEnd::needs64Bit);
    if (!tree.Ask(TVM_GETNEXTITEM, relation, static_cast<LPARAM>(from), reply))
        return false;
    item = ValueFromReply(reply, target64);
    return handles.Whole(item) || End(ReadEnd::needs64Bit);
}
