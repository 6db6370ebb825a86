#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstddef>

#include "readers/remote/bitness.h"
#include "readers/remote/remote_layouts.h"

namespace {

// The compiler knows only its own bitness: each build checks its own row.
const ControlLayouts& Native()
{
    return LayoutsFor(kThisIs64Bit);
}

TEST(RemoteLayoutsTest, PointerSizeIsTheBuilds)
{
    EXPECT_EQ(sizeof(void*), Native().pointerSize);
}

TEST(RemoteLayoutsTest, ListItemIsLVITEMW)
{
    const ListItemLayout& layout = Native().listItem;
    EXPECT_EQ(sizeof(LVITEMW), layout.record.size);
    EXPECT_EQ(offsetof(LVITEMW, mask), layout.record.mask);
    EXPECT_EQ(offsetof(LVITEMW, iItem), layout.item);
    EXPECT_EQ(offsetof(LVITEMW, iSubItem), layout.subItem);
    EXPECT_EQ(offsetof(LVITEMW, pszText), layout.record.text);
    EXPECT_EQ(offsetof(LVITEMW, cchTextMax), layout.record.textMax);
}

TEST(RemoteLayoutsTest, ColumnIsLVCOLUMNW)
{
    const TextRecordLayout& layout = Native().column;
    EXPECT_EQ(sizeof(LVCOLUMNW), layout.size);
    EXPECT_EQ(offsetof(LVCOLUMNW, mask), layout.mask);
    EXPECT_EQ(offsetof(LVCOLUMNW, pszText), layout.text);
    EXPECT_EQ(offsetof(LVCOLUMNW, cchTextMax), layout.textMax);
}

TEST(RemoteLayoutsTest, TreeItemIsTVITEMW)
{
    const TreeItemLayout& layout = Native().treeItem;
    EXPECT_EQ(sizeof(TVITEMW), layout.record.size);
    EXPECT_EQ(offsetof(TVITEMW, mask), layout.record.mask);
    EXPECT_EQ(offsetof(TVITEMW, hItem), layout.item);
    EXPECT_EQ(offsetof(TVITEMW, pszText), layout.record.text);
    EXPECT_EQ(offsetof(TVITEMW, cchTextMax), layout.record.textMax);
}

TEST(RemoteLayoutsTest, ComboItemIsCOMBOBOXEXITEMW)
{
    const ComboItemLayout& layout = Native().comboItem;
    EXPECT_EQ(sizeof(COMBOBOXEXITEMW), layout.record.size);
    EXPECT_EQ(offsetof(COMBOBOXEXITEMW, mask), layout.record.mask);
    EXPECT_EQ(offsetof(COMBOBOXEXITEMW, iItem), layout.item);
    EXPECT_EQ(offsetof(COMBOBOXEXITEMW, pszText), layout.record.text);
    EXPECT_EQ(offsetof(COMBOBOXEXITEMW, cchTextMax), layout.record.textMax);
}

TEST(RemoteLayoutsTest, HitTestIsTVHITTESTINFO)
{
    const HitTestLayout& layout = Native().hitTest;
    EXPECT_EQ(sizeof(TVHITTESTINFO), layout.size);
    EXPECT_EQ(offsetof(TVHITTESTINFO, pt), layout.point);
    EXPECT_EQ(offsetof(TVHITTESTINFO, hItem), layout.item);
}

}  // namespace
