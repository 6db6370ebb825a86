#include "readers/list_view_reader.h"

#include <commctrl.h>

#include <algorithm>

#include "readers/list_view_columns.h"

ListViewReader::ListViewReader(HWND list, UINT timeout) : list(list, timeout, static_cast<int>(kLongestItem))
{
}

CountReport ListViewReader::Count()
{
    CountReport report;
    report.kind = Kind();
    report.count = BelievableCount(list.AskCount(LVM_GETITEMCOUNT));
    if (report.count >= 0 && IsWindow(list.Window()))
        report.problem = ProblemOf(list.Open());
    return report;
}

bool ListViewReader::ReadNext(ItemSink& sink)
{
    if (expected < 0)
        return Start(sink) && next < expected;
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
        sink.Row(cells.data() + done, columns);
    if (read < rows.size()) {
        expected = next;
        ending = ReadEnd::silent;
    }
    return next < expected;
}

// The header line, when the list view shows columns.
bool ListViewReader::Start(ItemSink& sink)
{
    expected = 0;
    ending = ReadEnd::silent;
    const int count = BelievableCount(list.AskCount(LVM_GETITEMCOUNT));
    if (count < 0)
        return false;
    if (list.Open() != RemoteProblem::none) {
        ending = ReadEnd::refused;
        return false;
    }
    bool report = false;
    ListViewColumns columns;
    if (!IsReportView(list, report) || (report && !ReadColumns(list, columns)))
        return false;
    ending = ReadEnd::complete;
    subItems = columns.subItems;
    if (subItems.empty())
        subItems.push_back(0);
    else
        sink.Header(columns.titles);
    expected = count;
    return true;
}
