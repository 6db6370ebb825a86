// The records that list views, tree views and extended combo boxes fill in, as a program of either
// bitness lays them out. A reader writes them into the other program's memory
// itself, so it cannot use its own compiler's structures when that program
// has the other bitness. Each layout is given once, here; the unit tests hold
// the row of the build's own bitness against <commctrl.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Byte offsets of the fields that every text record has.
struct TextRecordLayout {
    std::uint32_t size;
    std::uint32_t mask;
    std::uint32_t text;     // pszText
    std::uint32_t textMax;  // cchTextMax
};

struct ListItemLayout {  // LVITEMW
    TextRecordLayout record;
    std::uint32_t item;
    std::uint32_t subItem;
};

struct TreeItemLayout {  // TVITEMW
    TextRecordLayout record;
    std::uint32_t item;  // hItem
};

struct ComboItemLayout {  // COMBOBOXEXITEMW
    TextRecordLayout record;
    std::uint32_t item;  // iItem
};

struct HitTestLayout {  // TVHITTESTINFO
    std::uint32_t size;
    std::uint32_t point;
    std::uint32_t item;  // hItem
};

struct ControlLayouts {
    std::uint32_t pointerSize;
    ListItemLayout listItem;
    TextRecordLayout column;  // LVCOLUMNW
    TreeItemLayout treeItem;
    HitTestLayout hitTest;
    ComboItemLayout comboItem;
};

constexpr ControlLayouts kControlLayouts[] = {
    {4, {{60, 0, 20, 24}, 4, 8}, {44, 0, 12, 16}, {{40, 0, 16, 20}, 4}, {16, 0, 12}, {{36, 0, 8, 12}, 4}},
    {8, {{88, 0, 24, 32}, 4, 8}, {56, 0, 16, 24}, {{56, 0, 24, 32}, 8}, {24, 0, 16}, {{56, 0, 16, 24}, 8}},
};

constexpr const ControlLayouts& LayoutsFor(bool target64)
{
    return kControlLayouts[target64 ? 1 : 0];
}

// Field writers for a record image: little-endian, as both platforms are.
inline void Put32(std::vector<unsigned char>& image, std::size_t at, std::uint32_t value)
{
    std::memcpy(image.data() + at, &value, sizeof(value));
}

inline void PutPointer(std::vector<unsigned char>& image, std::size_t at, std::uint64_t value,
                       std::uint32_t pointerSize)
{
    std::memcpy(image.data() + at, &value, pointerSize);
}
