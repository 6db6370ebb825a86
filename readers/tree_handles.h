// The item handles of a 64-bit program's tree view, as the 32-bit Quarvel can
// know them. A 32-bit reply keeps only the low half of a handle, and a handle
// cut that way, sent back to the program as an item, may crash it; a reply of
// 0 may be a handle whose low half is 0. Only an answer the program writes
// into the block carries a whole handle: a hit test does, for the item at a
// point, so the items in view can be proven whole and no others. A tree whose
// items are not all in view cannot be read from the 32-bit side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "readers/remote/remote_control.h"

class TreeHandles {
public:
    // `needed`: a 64-bit program's tree, read by the 32-bit Quarvel.
    explicit TreeHandles(bool needed = false) : needed(needed) {}

    bool Needed() const { return needed; }

    // Hit tests the next row in view (the first call asks the row height).
    // False when the tree did not answer or the pace held the question.
    bool ProveRow(RemoteControl& tree);
    bool AllRowsTested() const { return rowHeight > 0 && tested >= rows; }
    std::size_t Proven() const { return proven.size(); }

    // True when a handle as a reply gave it is one proven whole (0 is).
    bool Whole(std::uint64_t reply) const;

private:
    bool needed;
    int rowHeight = 0;
    int rows = 0;
    int tested = 0;
    std::vector<std::uint64_t> proven;  // sorted
};
