#include "readers/tree_handles.h"

#include <commctrl.h>

#include <algorithm>

bool TreeHandles::ProveRow(RemoteControl& tree)
{
    if (rowHeight == 0) {
        DWORD_PTR height = 0;
        if (!tree.Ask(TVM_GETITEMHEIGHT, 0, 0, height))
            return false;
        RECT client = {};
        GetClientRect(tree.Window(), &client);
        rowHeight = std::max(1, static_cast<int>(height));
        rows = (std::max(0, static_cast<int>(client.bottom)) + rowHeight - 1) / rowHeight;
        return true;
    }
    const HitTestLayout& layout = tree.Layouts().hitTest;
    std::vector<unsigned char> record(layout.size, 0);
    Put32(record, layout.point, 1);
    Put32(record, layout.point + 4, static_cast<std::uint32_t>(tested * rowHeight));
    RemoteBlock& block = tree.Block();
    DWORD_PTR reply = 0;
    std::uint64_t hit = 0;
    if (!tree.Usable() || block.Fit(layout.size) != RemoteProblem::none ||
        !block.Write(0, record.data(), record.size()))
        return false;
    if (!tree.Ask(TVM_HITTEST, 0, block.Param(0), reply) ||
        !block.Read(layout.item, &hit, block.Layouts().pointerSize))
        return false;
    ++tested;
    const auto at = std::lower_bound(proven.begin(), proven.end(), hit);
    if (hit && (at == proven.end() || *at != hit))
        proven.insert(at, hit);
    return true;
}

bool TreeHandles::Whole(std::uint64_t reply) const
{
    return !needed || !reply || std::binary_search(proven.begin(), proven.end(), reply);
}
