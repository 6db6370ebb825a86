#include "inspector/list_view_reader.h"

#include <commctrl.h>

#include <algorithm>

#include "inspector/list_view_columns.h"
#include "inspector/tabbed_lines.h"

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
    const std::size_t columns = subItems.size();
    const int page = std::max(1, kQuestionsPerStep / static_cast<int>(columns));
    const int count = std::min(page, expected - next);
    const ListItemLayout& layout = list.Layouts().listItem;
    records.assign(static_cast<std::size_t>(count) * columns * layout.record.size, 0);
    rows.clear();
    for (int row = next; row < next + count; ++row) {
        for (int subItem : subItems) {
            const std::size_t at = rows.size() * layout.record.size;
            Put32(records, at + layout.record.mask, LVIF_TEXT);
            Put32(records, at + layout.item, static_cast<std::uint32_t>(row));
            Put32(records, at + layout.subItem, static_cast<std::uint32_t>(subItem));
            rows.push_back(static_cast<WPARAM>(row));
        }
    }
    const std::size_t read = list.AskTexts(LVM_GETITEMTEXTW, rows, layout.record, records, false, cells);
    // Whole rows only: a row cut short by a silent list would be wrong.
    for (std::size_t done = 0; done + columns <= read; done += columns, ++next)
        AppendRow(lines, cells.data() + done, columns);
    if (read < rows.size())
        expected = next;
    return next < expected;
}

// The header line, when the list view shows columns.
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
    expected = count;
    return true;
}
