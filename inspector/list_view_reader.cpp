#include "inspector/list_view_reader.h"

#include <commctrl.h>

#include <cwchar>

#include "inspector/list_view_columns.h"
#include "inspector/tabbed_lines.h"

namespace {

constexpr std::size_t kSlotBytes = kFirstTextSlot * sizeof(wchar_t);

}  // namespace

ListViewReader::ListViewReader(HWND list, UINT timeout) : list(list, timeout)
{
}

CountReport ListViewReader::Count()
{
    CountReport report;
    report.kind = "ListView";
    report.count = list.AskCount(LVM_GETITEMCOUNT);
    if (report.count >= 0 && IsWindow(list.Window()))
        report.problem = list.Open();
    return report;
}

bool ListViewReader::ReadNext(std::wstring& lines)
{
    if (expected < 0)
        return Start(lines) && next < expected;
    if (next >= expected)
        return false;
    if (!ReadRow(next)) {
        expected = next;
        return false;
    }
    AppendRow(lines, cells);
    ++next;
    return next < expected;
}

// The header line, and a block for the texts of one item.
bool ListViewReader::Start(std::wstring& lines)
{
    expected = 0;
    const int count = list.AskCount(LVM_GETITEMCOUNT);
    bool report = false;
    if (count < 0 || list.Open() != CountProblem::none || !IsReportView(list, report))
        return false;
    ListViewColumns columns;
    if (report && !ReadColumns(list, columns))
        return false;
    subItems = columns.subItems;
    if (subItems.empty())
        subItems.push_back(0);
    else
        AppendRow(lines, columns.titles);
    const std::size_t shown = subItems.size();
    cells.assign(shown, std::wstring());
    lengths.assign(shown, 0);
    texts.assign(shown * kFirstTextSlot, L'\0');
    records.assign(shown * list.Layouts().listItem.record.size, 0);
    if (list.Block().Reserve(records.size() + shown * kSlotBytes) != CountProblem::none)
        return false;
    expected = count;
    return true;
}

// Every column's record written at once, one question per column, every text
// read back at once.
bool ListViewReader::ReadRow(int row)
{
    const ListItemLayout& layout = list.Layouts().listItem;
    const std::uint32_t pointerSize = list.Layouts().pointerSize;
    RemoteBlock& block = list.Block();
    const std::size_t textsAt = records.size();
    for (std::size_t column = 0; column < subItems.size(); ++column) {
        const std::size_t at = column * layout.record.size;
        Put32(records, at + layout.record.mask, LVIF_TEXT);
        Put32(records, at + layout.item, static_cast<std::uint32_t>(row));
        Put32(records, at + layout.subItem, static_cast<std::uint32_t>(subItems[column]));
        PutPointer(records, at + layout.record.text, block.Address(textsAt + column * kSlotBytes), pointerSize);
        Put32(records, at + layout.record.textMax, kFirstTextSlot);
    }
    if (!block.Write(0, records.data(), records.size()))
        return false;
    for (std::size_t column = 0; column < subItems.size(); ++column) {
        if (!list.Ask(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), block.Param(column * layout.record.size),
                      lengths[column]))
            return false;
    }
    if (!block.Read(textsAt, texts.data(), texts.size() * sizeof(wchar_t)))
        return false;
    for (std::size_t column = 0; column < subItems.size(); ++column) {
        const wchar_t* text = texts.data() + column * kFirstTextSlot;
        // The reply counts the characters copied; never more than the slot.
        const int copied = static_cast<int>(lengths[column]);
        const std::size_t length =
            wcsnlen(text, copied <= 0 ? 0 : copied < kFirstTextSlot ? static_cast<std::size_t>(copied) : kFirstTextSlot);
        if (length + 1 >= kFirstTextSlot) {
            if (!ReadLongCell(row, subItems[column], cells[column]))
                return false;
        } else {
            cells[column].assign(text, length);
        }
    }
    return true;
}

// A text that filled its slot, asked for again with room to grow.
bool ListViewReader::ReadLongCell(int row, int subItem, std::wstring& cell)
{
    const ListItemLayout& layout = list.Layouts().listItem;
    std::vector<unsigned char> record(layout.record.size, 0);
    Put32(record, layout.record.mask, LVIF_TEXT);
    Put32(record, layout.item, static_cast<std::uint32_t>(row));
    Put32(record, layout.subItem, static_cast<std::uint32_t>(subItem));
    return list.AskText(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), layout.record, record, false, cell,
                        kFirstTextSlot * 8) == TextAnswer::text;
}
